#pragma once

// What the program sets up on the application before its first window: Qt's own texts
// in German (the directory chooser, the context menu of every input), the access-key
// guard and the progress window of long printouts. The screenshot tour does the same, so its pictures show what users see.
namespace DesktopSetup {

// False when Qt's German texts are not installed (Debian: qt6-translations-l10n); the
// program then runs with Qt's English texts.
bool apply();

} // namespace DesktopSetup
