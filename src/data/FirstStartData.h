#pragma once

#include "core/GarnishmentGrid.h"

#include <QDate>
#include <QVariant>

class Database;

// What a new database file holds so the program can start at once: the own-address record
// with the default report folders beside the executable, the initial user "sb" and the
// sixteen federal states, and the garnishment table in force with its base values.
namespace FirstStartData {

inline constexpr const char *InitialUser = "sb";

void write(const Database &db);
// The help texts of every page and window.
void writeHelpTexts(const Database &db);
// The help texts of the parts a database made by an older version does not explain yet.
void addLaterHelpTexts(const Database &db);

// The base values of the garnishment table in force since 1 July 2026.
GarnishmentBase garnishmentBase2026();
inline const QDate GarnishmentStand2026{2026, 7, 1};
// Writes those base values and the table generated from them into empty tables.
void writeGarnishment(const Database &db);

// Puts the documents lying in `dir` (a new rubric's folder) into the catalogue of the
// rubric `rubrikId`: the sample documents that come with the program under their own
// description and keywords, any other file under its name.
void catalogueDocuments(const Database &db, const QVariant &rubrikId, const QString &dir);

} // namespace FirstStartData
