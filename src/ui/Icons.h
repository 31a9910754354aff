#pragma once

#include <QIcon>
#include <QStyle>

// The style's standard images, decoded once per process and shared by every toolbar and
// page: building a window asks for the same few dozen images again and again.
namespace Icons {

QIcon standard(QStyle::StandardPixmap which);

} // namespace Icons
