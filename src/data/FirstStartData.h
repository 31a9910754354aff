#pragma once

class Database;

// What a new database file holds so the program can start at once: the own-address record
// with the default report folders beside the executable, the initial user "sb" and the
// sixteen federal states.
namespace FirstStartData {

inline constexpr const char *InitialUser = "sb";

void write(const Database &db);

} // namespace FirstStartData
