#pragma once

#include <QChar>

// Templates and their escapes use the Windows code page 1252; the bytes 0x80–0x9F carry
// typographic characters there instead of the C1 controls of Latin-1.
namespace Windows1252 {

char16_t toUnicode(unsigned char byte);

// The byte for `ch`, or -1 when the code page has no such character.
int fromUnicode(char16_t ch);

} // namespace Windows1252
