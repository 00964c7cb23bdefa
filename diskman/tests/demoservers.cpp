#include "diskman/tests/demoservers.h"

#include "netware/errors.h"
#include "platform/nwclient/binderyops.h"
#include "platform/nwproto/completioncodes.h"

using namespace nwclient;

void DemoServers::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_EQ(initialise(WorkstationConfig::demo(m_dir.path())), nwproto::cc::Success);
    shell::DialogService::setInstance(&m_dialogs);
}

void DemoServers::TearDown()
{
    for (ConnHandle h : m_handles)
        closeConn(h);
    m_handles.clear();
    terminate();
    shell::DialogService::setInstance(nullptr);
    EXPECT_TRUE(m_dialogs.unexpected().isEmpty());
}

void DemoServers::asUser(const QString& user)
{
    for (ConnHandle h : m_handles)
        closeConn(h);
    m_handles.clear();
    terminate();
    WorkstationConfig config = WorkstationConfig::demo(m_dir.path());
    for (ServerEntry& e : config.servers) {
        e.user = user;
        e.password = user.toLower();
    }
    ASSERT_EQ(initialise(config), nwproto::cc::Success);
}

ConnRef DemoServers::ref(const QString& server) const
{
    uint32_t it = 0;
    ConnRef r = 0;
    while (scanConnRefs(it, r) == nwproto::cc::Success) {
        TNWConnInfo info;
        if (getConnInfo(r, info) == nwproto::cc::Success && server == info.serverName)
            return r;
    }
    ADD_FAILURE() << "no reference for " << server.toStdString();
    return 0;
}

ConnHandle DemoServers::conn(const QString& server)
{
    ConnHandle h = 0;
    EXPECT_EQ(openConnByReference(ref(server), h), nwproto::cc::Success);
    m_handles.push_back(h);
    return h;
}

uint32_t DemoServers::userId(const QString& server, const QString& name)
{
    uint32_t id = 0;
    EXPECT_EQ(getBinderyObjectID(conn(server), name, OT_USER, id), nwproto::cc::Success);
    return id;
}

std::string failureText(const QString& context, int32_t code)
{
    return (context + u'\r' + ErrorCodeText(code)).toStdString();
}
