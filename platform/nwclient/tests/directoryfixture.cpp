#include "directoryfixture.h"

#include "platform/nwclient/embeddedhost.h"
#include "platform/nwclient/ndsops.h"

using namespace nwclient;

void DirectoryFixture::SetUp()
{
    ASSERT_EQ(initialise(WorkstationConfig::demo(dir.path())), nwproto::cc::Success);
    fs1 = open(QStringLiteral("FS1"));
    fs2 = open(QStringLiteral("FS2"));
    setPreferredTree(QStringLiteral("ACME_TREE"));
    setDefaultNameContext(QString());
}

void DirectoryFixture::TearDown()
{
    closeConn(fs1);
    closeConn(fs2);
    setPreferredTree(QString());
    terminate();
}

ConnHandle DirectoryFixture::open(const QString& name)
{
    uint32_t it = 0;
    ConnRef ref = 0;
    while (scanConnRefs(it, ref) == nwproto::cc::Success) {
        TNWConnInfo info {};
        if (getConnInfo(ref, info) == nwproto::cc::Success && name == info.serverName) {
            ConnHandle h = 0;
            EXPECT_EQ(openConnByReference(ref, h), nwproto::cc::Success);
            return h;
        }
    }
    ADD_FAILURE() << "no reference for " << name.toStdString();
    return 0;
}

std::shared_ptr<nwserver::Server> DirectoryFixture::server(const QString& name)
{
    return embedded::findServer(name);
}
