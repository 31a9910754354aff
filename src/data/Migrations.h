#pragma once

class Database;

// Numbered steps that bring an older file up to the current tables. Step N turns a file
// of version N-1 into version N; each runs in its own transaction.
namespace Migrations {

void apply(Database &db, int toVersion);

} // namespace Migrations
