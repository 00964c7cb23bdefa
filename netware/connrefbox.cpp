#include "netware/connrefbox.h"

#include "netware/connqueries.h"
#include "netware/logindialog.h"
#include "platform/registry/registry.h"
#include "platform/shell/dialogservice.h"

#include <cstdlib>

using namespace nwclient;
using nwproto::cc::Success;

namespace {

std::function<void(int)>& exitHandler()
{
    static std::function<void(int)> h = [](int code) { std::exit(code); };
    return h;
}

std::function<void()>& loginRunner()
{
    static std::function<void()> r;
    return r;
}

// Mapping is off when the machine key exists, unless its "NOMAP" value is exactly "0".
bool readNoMap()
{
    registry::RegKey key;
    if (!key.open(registry::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Tarvo\\DorAzor Ezevive"),
            false))
        return false;
    return key.readString(QStringLiteral("NOMAP")).value_or(QString()) != QLatin1String("0");
}

} // namespace

TNWConnRefBox::TNWConnRefBox(QWidget* parent)
    : QComboBox(parent)
    , m_noMap(readNoMap())
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) { Change(); });
}

TNWConnRefBox::~TNWConnRefBox() = default;

void TNWConnRefBox::setExitHandler(std::function<void(int)> handler)
{
    exitHandler() = handler ? std::move(handler) : [](int code) { std::exit(code); };
}

void TNWConnRefBox::RefreshServers()
{
    const QSignalBlocker block(this);
    setUpdatesEnabled(false);
    ClearServers();
    uint32_t it = 0;
    nwclient::ConnRef ref = 0;
    while (scanConnRefs(it, ref) == Success) {
        auto info = std::make_unique<TNWConnInfo>();
        if (getConnInfo(ref, *info) != Success || info->authenticationState == 0)
            continue;
        addItem(QString::fromLatin1(info->serverName));
        m_records.push_back(std::move(info));
    }
    setUpdatesEnabled(true);
}

void TNWConnRefBox::EnsureServers()
{
    RefreshServers();
    while (count() == 0) {
        const shell::Button answer
            = shell::DialogService::instance().message(shell::MessageKind::Error,
                QStringLiteral("No connections found.\rYou have to be logged in and attached to "
                               "server\rDo you want to login now ?"),
                shell::Button::Yes | shell::Button::Abort | shell::Button::Retry);
        if (answer == shell::Button::Yes)
            RunLoginDialog();
        else if (answer != shell::Button::Retry) {
            exitHandler()(2);
            return;
        }
        RefreshServers();
    }
    const QSignalBlocker block(this);
    setCurrentIndex(-1);
}

void TNWConnRefBox::ClearServers()
{
    const QSignalBlocker block(this);
    clear();
    m_records.clear();
}

const TNWConnInfo* TNWConnRefBox::Info(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_records.size()))
        return nullptr;
    return m_records[static_cast<size_t>(index)].get();
}

void TNWConnRefBox::selectAndChange(int index)
{
    {
        const QSignalBlocker block(this);
        setCurrentIndex(index);
    }
    Change();
}

nwclient::ConnRef TNWConnRefBox::CurrentConnRef()
{
    for (;;) {
        if (!isEnabled())
            return 0;
        if (count() == 0)
            EnsureServers();
        if (count() == 0)
            return 0; // only when the exit handler did not end the program (tests)
        if (currentIndex() < 0)
            selectAndChange(0);
        else if (currentIndex() >= count())
            selectAndChange(count() - 1);
        TNWConnInfo info;
        if (getConnInfo(m_connRef, info) == Success && info.authenticationState != 0)
            return m_connRef;
        shell::DialogService::instance().message(shell::MessageKind::Warning,
            QStringLiteral("Connection to server %1 broken !").arg(currentText()),
            shell::Button::Ok);
        ClearServers();
    }
}

void TNWConnRefBox::Change()
{
    const TNWConnInfo* info = Info(currentIndex());
    m_connRef = info ? info->connRef : 0;
    // The change notification runs also when the mapping fails.
    struct Notify {
        TNWConnRefBox* box;
        ~Notify() { emit box->changed(); }
    } notify { this };
    mapDrive();
}

void TNWConnRefBox::mapDrive()
{
    if (m_noMap || m_connRef == 0)
        return;
    TConnHandleScope conn;
    if (conn.open(m_connRef) != Success)
        return;
    for (uint16_t drive = 4; drive <= 26; ++drive) {
        nwclient::ConnRef ref = 0;
        QString path;
        if (getDriveInformation(drive, ref, path) == Success && ref == m_connRef)
            return;
    }
    for (uint16_t drive = 26; drive >= 4; --drive) {
        nwclient::ConnRef ref = 0;
        QString path;
        if (getDriveInformation(drive, ref, path) != nwproto::cc::DriveNotInUse)
            continue;
        if (setDriveBase(drive, conn.handle(), 0, QStringLiteral("SYS:"), 0) == Success)
            return;
    }
}

void TNWConnRefBox::showPopup()
{
    const QString text = currentText();
    RefreshServers();
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    {
        const QSignalBlocker block(this);
        setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
    }
    QComboBox::showPopup();
}

void RunLoginDialog()
{
    try {
        if (loginRunner())
            loginRunner()();
        else
            TNWLoginDialog::run();
    } catch (const std::exception& e) {
        shell::DialogService::instance().error(QString::fromLocal8Bit(e.what()));
    }
}

void setLoginDialogRunner(std::function<void()> runner)
{
    loginRunner() = std::move(runner);
}
