#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwserver/clock.h"
#include "platform/shell/scripteddialogservice.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>
#include <memory>

// The demo workstation (FS1: NetWare 4 as ADMIN, FS2: NetWare 3 as ADMIN) in a temporary home
// with its own registry, a server clock that moves only when told, and scripted dialogs.
class MonitorFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The reference of an attached server by name, 0 when there is none.
    nwclient::ConnRef refOf(const QString& server) const;
    // JOHN on FS1: logged in, no console operator.
    nwclient::ConnRef john();
    // Writes a file on a server as ADMIN ("SYS:SYSTEM\X.NCF").
    void putFile(const QString& server, const QString& netwarePath, const QByteArray& data);
    QByteArray fileOf(const QString& uncPath);

    testsupport::TempHome home;
    shell::ScriptedDialogService dialogs;
    std::shared_ptr<nwserver::ManualClock> clock;
    nwclient::ConnRef fs1 = 0;
    nwclient::ConnRef fs2 = 0;
};
