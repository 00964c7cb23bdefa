#pragma once

#include "platform/nwproto/completioncodes.h"
#include "platform/nwproto/functions.h"
#include "platform/nwproto/wire.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace nwserver {
class Server;
}

namespace nwclient {

// How requests reach a server. Only plain bytes cross it, so a network transport can stand in
// for the embedded one without the layers above noticing.
class Transport {
public:
    virtual ~Transport() = default;
    virtual QString serverName() const = 0;
    virtual nwproto::NWCCODE attach(uint32_t& connNumber) = 0;
    // With a fragment, the bulk of the reply (file data) arrives in it instead of in reply.
    virtual nwproto::NWCCODE request(uint32_t connNumber, nwproto::FnCode fn,
        const QByteArray& body, QByteArray& reply, nwproto::ReplyFragment* fragment = nullptr)
        = 0;
    // What the client's watchdog knows of a connection without sending a request.
    enum class State { Gone, Attached, Authenticated };
    virtual State state(uint32_t connNumber) = 0;
};

// Calls a server living in this process.
class EmbeddedTransport final : public Transport {
public:
    explicit EmbeddedTransport(std::shared_ptr<nwserver::Server> server);
    QString serverName() const override;
    nwproto::NWCCODE attach(uint32_t& connNumber) override;
    nwproto::NWCCODE request(uint32_t connNumber, nwproto::FnCode fn, const QByteArray& body,
        QByteArray& reply, nwproto::ReplyFragment* fragment = nullptr) override;
    State state(uint32_t connNumber) override;

private:
    std::shared_ptr<nwserver::Server> m_server;
};

} // namespace nwclient
