#include "console/monitor/servinfoform.h"

#include "console/monitor/statreports.h"
#include "console/monitor/ticks.h"
#include "netware/connqueries.h"
#include "platform/nwclient/serverops.h"
#include "platform/nwclient/statsops.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

TServInfoForm::TServInfoForm(TConnRefSource connRef, QWidget* parent)
    : TInfoView(parent)
    , m_connRef(std::move(connRef))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* box = new QWidget(scroll);
    scroll->setWidget(box);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setColumnStretch(1, 1);

    int line = 0;
    const auto addRow = [&](const char* caption) {
        const QString text = QString::fromLatin1(caption);
        Row row { new QLabel(text, box), new QLabel(QStringLiteral("?"), box) };
        row.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QFont bold = row.value->font();
        bold.setBold(true);
        row.value->setFont(bold);
        grid->addWidget(row.caption, line, 0);
        grid->addWidget(row.value, line, 1);
        ++line;
        m_rows[text] = row;
    };
    for (const char* c : { "Name:", "Version:", "Serial Number:", "Up Time:", "Server Time:",
             "Total memory:", "Login Status:" })
        addRow(c);
    auto* divider = new QFrame(box);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    grid->addWidget(divider, line++, 0, 1, 2);
    addRow("TTS Level:");
    addRow("SFT Level:");
    grid->setRowStretch(line, 1);
}

void TServInfoForm::Fill()
{
    TConnHandleScope conn;
    if (conn.open(m_connRef ? m_connRef() : 0) != 0)
        return;
    const nwclient::ConnHandle h = conn.handle();

    nwproto::ServerInfo info;
    if (nwclient::getFileServerInformation(h, info) == 0) {
        setValue("Name:", info.serverName);
        setValue("Version:",
            QStringLiteral("%1.%2 rev %3")
                .arg(info.osMajor)
                .arg(info.osMinor)
                .arg(info.osRevision));
        setValue("TTS Level:", QString::number(info.ttsLevel));
        setValue("SFT Level:", QString::number(info.sftLevel));
    }
    uint32_t serial = 0;
    uint16_t application = 0;
    if (nwclient::getNetworkSerialNumber(h, serial, application) == 0)
        setValue(
            "Serial Number:", QStringLiteral("%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper());
    bool loginEnabled = false;
    if (nwclient::getFileServerLoginStatus(h, loginEnabled) == 0)
        setValue(
            "Login Status:", loginEnabled ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));

    nwclient::NWCacheInfo cache;
    const bool cacheRead = nwclient::getCacheInfo(h, cache) == 0;
    if (cacheRead) {
        setValue("Up Time:", TicksToText(cache.currentServerTime));
        setValue("Total memory:",
            statreports::FormatCount(uint64_t(cache.originalNumOfCacheBuffers) * 4096));
    }
    setShown("Up Time:", cacheRead);
    setShown("Total memory:", cacheRead);

    nwproto::ServerDateTime dt;
    if (nwclient::getFileServerDateAndTime(h, dt) == 0) {
        // The client gives the full year (NetWare's own field counts from 1900).
        setValue("Server Time:",
            QStringLiteral("%1.%2.%3 %4:%5:%6")
                .arg(dt.year)
                .arg(dt.month, 2, 10, QLatin1Char('0'))
                .arg(dt.day, 2, 10, QLatin1Char('0'))
                .arg(dt.hour)
                .arg(dt.minute, 2, 10, QLatin1Char('0'))
                .arg(dt.second, 2, 10, QLatin1Char('0')));
    }
}

QString TServInfoForm::Value(const QString& caption) const
{
    const auto it = m_rows.find(caption);
    return it == m_rows.end() ? QString() : it->second.value->text();
}

bool TServInfoForm::IsValueShown(const QString& caption) const
{
    const auto it = m_rows.find(caption);
    return it != m_rows.end() && !it->second.value->isHidden();
}

void TServInfoForm::setValue(const char* caption, const QString& value)
{
    m_rows.at(QString::fromLatin1(caption)).value->setText(value);
}

void TServInfoForm::setShown(const char* caption, bool shown)
{
    const Row& row = m_rows.at(QString::fromLatin1(caption));
    row.caption->setVisible(shown);
    row.value->setVisible(shown);
}
