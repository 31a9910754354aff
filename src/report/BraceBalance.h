#pragma once

#include <QByteArray>

#include <vector>

// The braces of an RTF stretch that do not pair up inside it: first `closes` groups of
// the surroundings are closed, then `opens` new groups stay open.
struct BraceBalance
{
    int closes = 0;
    int opens = 0;
    // For each group that stays open, the formatting codes it set (bold, font, size …):
    // they govern the text after the stretch, so a left-out stretch must keep them.
    std::vector<QByteArray> openCodes;

    static BraceBalance of(const QByteArray &rtf);
    BraceBalance then(const BraceBalance &next) const;
    int net() const { return opens - closes; }

    // What a left-out part of the template still writes: the braces, and each group it
    // leaves open with its formatting codes.
    QByteArray skeleton() const;
};
