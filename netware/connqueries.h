#pragma once

#include "platform/nwclient/client.h"

#include <QString>

// Small questions about a connection that many parts of the console ask.

// True when the connection reaches its server through a directory tree.
bool IsNDSConn(nwclient::ConnHandle handle);
bool IsNDSConnRef(nwclient::ConnRef ref);
// The connection's tree name (at most 32 characters); empty when the call fails.
QString TreeNameOf(nwclient::ConnHandle handle);

// A connection handle opened for one piece of work and closed when the scope ends, also when
// an exception leaves it.
class TConnHandleScope {
public:
    TConnHandleScope() = default;
    ~TConnHandleScope() { close(); }
    TConnHandleScope(const TConnHandleScope&) = delete;
    TConnHandleScope& operator=(const TConnHandleScope&) = delete;

    // Answers the client's code; the handle is valid only after success.
    nwclient::NWCCODE open(nwclient::ConnRef ref);
    void close();
    nwclient::ConnHandle handle() const { return m_handle; }
    bool isOpen() const { return m_open; }

private:
    nwclient::ConnHandle m_handle = 0;
    bool m_open = false;
};
