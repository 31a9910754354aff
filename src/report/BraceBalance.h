#pragma once

#include <QByteArray>

// The braces of an RTF stretch that do not pair up inside it: first `closes` groups of
// the surroundings are closed, then `opens` new groups stay open.
struct BraceBalance
{
    int closes = 0;
    int opens = 0;

    static BraceBalance of(const QByteArray &rtf);
    BraceBalance then(const BraceBalance &next) const;
    int net() const { return opens - closes; }

    // Only the braces, for a part of the template that is left out.
    QByteArray skeleton() const;
};
