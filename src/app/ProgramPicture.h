#pragma once

#include <QPixmap>

// The program's picture (a house over a ledger and coins), drawn rather than shipped so it
// is sharp at any size.
namespace ProgramPicture {

QPixmap make(int size);

} // namespace ProgramPicture
