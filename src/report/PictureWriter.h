#pragma once

#include <QByteArray>
#include <QString>

// Embeds PNG and JPEG pictures into RTF.
namespace PictureWriter {

// The picture group, or an empty array when the bytes are neither PNG nor JPEG.
QByteArray pictureGroup(const QByteArray &bytes, bool binary);

} // namespace PictureWriter
