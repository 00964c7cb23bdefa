#include "console/monitor/fileviewform.h"

#include "console/monitor/serverfileio.h"
#include "console/monitor/statreports.h"
#include "netware/errors.h"
#include "platform/redirector/redirector.h"
#include "platform/shell/dialogservice.h"

#include <QAction>
#include <QHideEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolBar>
#include <cmath>

TFileViewForm::TFileViewForm(QWidget* parent)
    : TTextPage(parent)
    , m_size(new QLabel(QStringLiteral("0 KB"), this))
{
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_clear
        = m_toolBar->addAction(QStringLiteral("Clear log file"), this, &TFileViewForm::ClearLog);
    m_findText = m_toolBar->addAction(QStringLiteral("Find text"), this, &TTextPage::Find);
    m_toolBar->addSeparator();
    m_toolBar->addWidget(m_size);
    reset();
}

void TFileViewForm::Open(const QString& path)
{
    CloseFile();
    setFileName(path);
    clearSearch();
    m_size->setText(QStringLiteral("0 KB"));
    QByteArray data;
    const serverfileio::Result r = serverfileio::Read(path, data);
    if (!r.ok) {
        // A log the server has not written (yet) is no error worth a message.
        reset();
        return;
    }
    m_text->setPlainText(serverfileio::DecodeText(data));
    m_open = true;
    const auto kb = static_cast<uint64_t>(std::llround(static_cast<double>(data.size()) / 1024));
    m_size->setText(statreports::FormatCount(kb) + QStringLiteral(" KB"));
    m_text->moveCursor(QTextCursor::End);
    m_text->moveCursor(QTextCursor::StartOfBlock);
    m_text->ensureCursorVisible();
    m_clear->setEnabled(true);
    m_findText->setEnabled(true);
    setTextActive(true);
    updateCaret();
}

void TFileViewForm::ClearLog()
{
    if (shell::DialogService::instance().confirm(QStringLiteral("Do you want to clear log file ?"))
        != shell::Button::Yes)
        return;
    const QString path = FileName();
    CloseFile();
    const nwproto::NWCCODE code = redirector::remove(path);
    if (code != 0) {
        shell::DialogService::instance().error(QStringLiteral("Can't clear log file\r%1")
                                                   .arg(ErrorCodeText(static_cast<int32_t>(code))));
    } else {
        // Created again empty; a log that cannot be created is written again by the server.
        serverfileio::Write(path, QByteArray(), false);
    }
    Open(path);
}

void TFileViewForm::CloseFile()
{
    m_text->clear();
    m_open = false;
}

QString TFileViewForm::SizeText() const
{
    return m_size->text();
}

bool TFileViewForm::ClearEnabled() const
{
    return m_clear->isEnabled();
}

bool TFileViewForm::FindEnabled() const
{
    return m_findText->isEnabled();
}

void TFileViewForm::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        CloseFile();
    TTextPage::hideEvent(event);
}

void TFileViewForm::reset()
{
    CloseFile();
    clearSearch();
    m_clear->setEnabled(false);
    m_findText->setEnabled(false);
    setTextActive(false);
}
