#pragma once

#include <QString>

#include <functional>

class QWidget;

// The "Hilfe" buttons of every page and window open the help texts through this service,
// so a page needs nothing of the help module itself. The help module installs the window.
namespace Help {

using Opener = std::function<void(const QString &keyword, QWidget *parent)>;

// Shows the help texts read-only with `keyword` in the search field; nothing without a
// help module installed.
void open(const QString &keyword, QWidget *parent = nullptr);
void install(Opener opener);

} // namespace Help
