#pragma once

#include "report/TemplatePiece.h"

#include <functional>
#include <vector>

// Splits an RTF template into copied text and fields. The font table, colour table,
// style sheet, document information, fields, pictures and objects are never searched;
// in the font table every character set number is replaced by `charset`.
class RtfFieldFinder
{
public:
    static constexpr int MaxFieldLength = 10000;

    // Hands each piece to `take` as it is found, so a large template is never held twice.
    // Unchanged stretches refer to `rtf`'s bytes without a copy: `rtf` must outlive them.
    static void forEachPiece(const QByteArray &rtf, int charset, const std::function<void(TemplatePiece &&)> &take);

    // The field piece again from its source (delimiters included), as forEachPiece found it.
    static TemplatePiece fieldPiece(const QByteArray &source);
};
