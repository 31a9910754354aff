#include "core/PasswordHash.h"

#include "core/AppError.h"

#include <sodium.h>

namespace PasswordHash {

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw AppError(QStringLiteral("Die Verschlüsselungsbibliothek konnte nicht gestartet werden."));
}

} // namespace

QString hash(const QString &password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw AppError(QStringLiteral("Das Kennwort konnte nicht verschlüsselt werden (zu wenig Speicher)."));
    return QString::fromLatin1(out);
}

bool isHash(const QString &stored)
{
    return stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool verify(const QString &password, const QString &stored)
{
    if (!isHash(stored))
        return password == stored;
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    const QByteArray h = stored.toLatin1();
    return crypto_pwhash_str_verify(h.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size()))
           == 0;
}

bool needsRehash(const QString &stored)
{
    if (!isHash(stored))
        return true;
    ensureSodium();
    const QByteArray h = stored.toLatin1();
    return crypto_pwhash_str_needs_rehash(h.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
           != 0;
}

} // namespace PasswordHash
