#pragma once

#include <QString>

// Passwords are kept only as Argon2id hashes in libsodium's self-describing string form.
namespace PasswordHash {

QString hash(const QString &password);

// True when `password` matches the stored hash. A stored value that is not a hash (from an
// older or imported file) is compared as plain text; needsRehash() tells the caller to
// replace it.
bool verify(const QString &password, const QString &stored);
bool needsRehash(const QString &stored);
bool isHash(const QString &stored);

} // namespace PasswordHash
