#pragma once

#include <QByteArray>
#include <QStringView>

// Writes text into an RTF document as 7-bit RTF: markup characters escaped, Windows-1252
// characters from 128 up as \'hh, every other character as \uN? so nothing is lost.
namespace RtfText {

void append(QByteArray &out, QStringView text);
QByteArray escape(QStringView text);

} // namespace RtfText
