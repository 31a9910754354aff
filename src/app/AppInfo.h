#pragma once

#include <QString>

namespace AppInfo {

inline const QString Title = QStringLiteral("Finorra 1.0 (Pro)");
inline const QString AboutName = QStringLiteral("Finorra 1.0 (Pro) ");
inline const QString Version = QStringLiteral("V 1.00.06");

} // namespace AppInfo
