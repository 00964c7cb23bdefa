#pragma once

#include "netware/nwexception.h"
#include "platform/nwclient/client.h"
#include "platform/shell/scripteddialogservice.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The embedded demo servers FS1 (long names) and FS2 (DOS names only) in a fresh data folder,
// attached as ADMIN, or with asUser() as an ordinary user. Dialogs are scripted.
class DemoServers : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Attaches both servers again as user (password: the name in lower case).
    void asUser(const QString& user);

    nwclient::ConnRef ref(const QString& server) const;
    // A connection handle closed in TearDown.
    nwclient::ConnHandle conn(const QString& server);
    uint32_t userId(const QString& server, const QString& name);

    QTemporaryDir m_dir;
    shell::ScriptedDialogService m_dialogs;

private:
    std::vector<nwclient::ConnHandle> m_handles;
};

// The message and code of the TNWException that work throws; a failure when it throws nothing
// or something else.
struct Thrown {
    std::string message;
    int32_t code = 0;
};
template <typename Work> Thrown thrownBy(Work work)
{
    try {
        work();
    } catch (const TNWException& e) {
        return { e.message().toStdString(), e.code() };
    }
    ADD_FAILURE() << "no TNWException";
    return {};
}

// The context text, "\r" and the code's text, as the console shows a failure.
std::string failureText(const QString& context, int32_t code);
