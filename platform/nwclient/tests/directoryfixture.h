#pragma once

#include "platform/nwclient/client.h"
#include "platform/nwserver/server.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The demo workstation (FS1 in ACME_TREE, FS2 bindery, both as ADMIN) in a temporary folder,
// with a handle per server and the server side at hand for arranging cases.
class DirectoryFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    nwclient::ConnHandle open(const QString& server);
    std::shared_ptr<nwserver::Server> server(const QString& name);

    QTemporaryDir dir;
    nwclient::ConnHandle fs1 = 0;
    nwclient::ConnHandle fs2 = 0;
};
