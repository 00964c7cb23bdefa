#include "platform/nwserver/passwordhash.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace nwserver {

namespace {
constexpr int kRounds = 2000;

QByteArray stretch(const QByteArray& salt, const QString& password)
{
    // NetWare passwords are case-insensitive; the hash is taken of the upper-case form.
    QByteArray h = salt + password.toUpper().toUtf8();
    for (int i = 0; i < kRounds; ++i)
        h = QCryptographicHash::hash(h + salt, QCryptographicHash::Sha256);
    return h;
}
} // namespace

PasswordHash PasswordHash::make(const QString& password)
{
    PasswordHash p;
    p.salt.resize(16);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(p.salt.data()), 4);
    p.hash = stretch(p.salt, password);
    return p;
}

bool PasswordHash::matches(const QString& password) const
{
    const QByteArray h = stretch(salt, password);
    if (h.size() != hash.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < h.size(); ++i)
        diff |= static_cast<unsigned char>(h[i] ^ hash[i]);
    return diff == 0;
}

} // namespace nwserver
