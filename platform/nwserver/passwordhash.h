#pragma once

#include <QByteArray>
#include <QString>

namespace nwserver {

// Passwords are kept only as a salted, stretched hash; the clear text never reaches the store.
struct PasswordHash {
    QByteArray salt;
    QByteArray hash;

    static PasswordHash make(const QString& password);
    bool matches(const QString& password) const;
};

} // namespace nwserver
