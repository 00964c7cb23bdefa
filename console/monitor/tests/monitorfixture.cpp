#include "monitorfixture.h"

#include "platform/nwclient/conninfo.h"
#include "platform/nwclient/embeddedhost.h"
#include "platform/redirector/redirector.h"
#include "platform/registry/registry.h"

#include <QIODevice>

using namespace nwclient;

void MonitorFixture::SetUp()
{
    registry::RegKey::setRoot(home.file("registry"));
    shell::DialogService::setInstance(&dialogs);
    clock = std::make_shared<nwserver::ManualClock>(QDateTime(QDate(2026, 3, 2), QTime(9, 30)));
    embedded::setClock(clock);
    ASSERT_EQ(initialise(WorkstationConfig::demo(home.file("servers"))), 0);
    fs1 = refOf(QStringLiteral("FS1"));
    fs2 = refOf(QStringLiteral("FS2"));
    ASSERT_NE(fs1, 0u);
    ASSERT_NE(fs2, 0u);
}

void MonitorFixture::TearDown()
{
    EXPECT_TRUE(dialogs.unexpected().isEmpty()) << dialogs.texts().join(" / ").toStdString();
    terminate();
    embedded::releaseAll();
    embedded::setClock(nullptr);
    shell::DialogService::setInstance(nullptr);
    registry::RegKey::resetRoot();
}

ConnRef MonitorFixture::refOf(const QString& server) const
{
    uint32_t it = 0;
    ConnRef ref = 0;
    while (scanConnRefs(it, ref) == 0) {
        TNWConnInfo info {};
        if (getConnInfo(ref, info) == 0 && server == QLatin1String(info.serverName))
            return ref;
    }
    return 0;
}

ConnRef MonitorFixture::john()
{
    ConnRef ref = 0;
    EXPECT_EQ(
        loginToServer(QStringLiteral("FS1"), QStringLiteral("JOHN"), QStringLiteral("john"), &ref),
        0);
    return ref;
}

void MonitorFixture::putFile(
    const QString& server, const QString& netwarePath, const QByteArray& data)
{
    QString path = netwarePath;
    path.replace(QLatin1Char(':'), QLatin1Char('\\'));
    const auto file = redirector::file(QStringLiteral("\\\\") + server + QLatin1Char('\\') + path);
    ASSERT_TRUE(file->open(QIODevice::WriteOnly));
    ASSERT_EQ(file->write(data), data.size());
    file->close();
}

QByteArray MonitorFixture::fileOf(const QString& uncPath)
{
    const auto file = redirector::file(uncPath);
    if (!file->open(QIODevice::ReadOnly))
        return "<missing>";
    return file->readAll();
}
