#include "platform/nwclient/transport.h"

#include "platform/nwserver/server.h"

#include <QCoreApplication>

namespace nwclient {

EmbeddedTransport::EmbeddedTransport(std::shared_ptr<nwserver::Server> server)
    : m_server(std::move(server))
{
}

QString EmbeddedTransport::serverName() const
{
    return m_server->identity().name;
}

nwproto::NWCCODE EmbeddedTransport::attach(uint32_t& connNumber)
{
    // The workstation's address as the server records it: network 0x00000001, a node address
    // of this process, socket 0x4003 (the NetWare shell's).
    QByteArray address(12, '\0');
    address[3] = 1;
    const qint64 pid = QCoreApplication::applicationPid();
    for (int i = 0; i < 4; ++i)
        address[9 - i] = static_cast<char>((pid >> (8 * i)) & 0xFF);
    address[10] = 0x40;
    address[11] = 0x03;
    return m_server->attach(address, connNumber);
}

nwproto::NWCCODE EmbeddedTransport::request(uint32_t connNumber, nwproto::FnCode fn,
    const QByteArray& body, QByteArray& reply, nwproto::ReplyFragment* fragment)
{
    return m_server->request(connNumber, fn, body, reply, fragment);
}

Transport::State EmbeddedTransport::state(uint32_t connNumber)
{
    auto guard = m_server->lock();
    const nwserver::Connection* c
        = m_server->isDown() ? nullptr : m_server->connections().find(connNumber);
    if (!c)
        return State::Gone;
    return c->loggedIn() ? State::Authenticated : State::Attached;
}

} // namespace nwclient
