#pragma once

#include "platform/nwclient/client.h"

#include <QIODevice>
#include <QString>

namespace redirector {

// A file on a server reached by its UNC path (\\SERVER\VOLUME\dir\file) through the client
// library, as a random-access QIODevice. open() with WriteOnly creates a missing file and, unless
// Append or ReadOnly is given too, empties an existing one, like QFile. error() holds the NetWare
// completion code of the last failure.
class UncFile : public QIODevice {
    Q_OBJECT
public:
    explicit UncFile(const QString& uncPath, QObject* parent = nullptr);
    ~UncFile() override;

    bool open(OpenMode mode) override;
    void close() override;
    bool isSequential() const override { return false; }
    qint64 size() const override;
    bool seek(qint64 pos) override;
    nwproto::NWCCODE error() const { return m_error; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QString m_path;
    nwclient::ConnHandle m_conn = 0;
    uint32_t m_file = 0;
    bool m_connOpen = false;
    nwproto::NWCCODE m_error = 0;
};

} // namespace redirector
