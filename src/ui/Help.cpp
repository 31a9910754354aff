#include "ui/Help.h"

namespace Help {

namespace {

Opener &installed()
{
    static Opener opener;
    return opener;
}

} // namespace

void open(const QString &keyword, QWidget *parent)
{
    if (installed())
        installed()(keyword, parent);
}

void install(Opener opener)
{
    installed() = std::move(opener);
}

} // namespace Help
