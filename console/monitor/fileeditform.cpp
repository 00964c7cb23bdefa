#include "console/monitor/fileeditform.h"

#include "console/monitor/serverfileio.h"
#include "console/monitor/textreplacedlg.h"
#include "netware/connqueries.h"
#include "platform/nwclient/fileops.h"
#include "platform/nwclient/pathops.h"
#include "platform/shell/dialogservice.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolBar>

namespace {

// The user's effective rights on the file at a UNC path; false when they cannot be read.
bool effectiveRights(const QString& path, uint16_t& rights)
{
    nwclient::ConnHandle handle = 0;
    uint8_t dirHandle = 0;
    QString netwarePath;
    if (nwclient::parseNetWarePath(path, handle, dirHandle, netwarePath) != 0)
        return false;
    const nwclient::NWCCODE code
        = nwclient::getEffectiveRights(handle, dirHandle, netwarePath, rights);
    nwclient::closeConn(handle);
    return code == 0;
}

QString namePart(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(p).fileName();
}

} // namespace

TFileEditForm::TFileEditForm(QWidget* parent)
    : TTextPage(parent)
{
    m_save = m_toolBar->addAction(QStringLiteral("Save changes"), this, [this] { Save(); });
    m_undo = m_toolBar->addAction(QStringLiteral("Undo changes"), m_text, &QPlainTextEdit::undo);
    m_redo = m_toolBar->addAction(QStringLiteral("Redo"), m_text, &QPlainTextEdit::redo);
    m_replace = m_popup->addAction(QStringLiteral("Replace"), this, &TFileEditForm::Replace);
    m_replace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(
        m_text->document(), &QTextDocument::contentsChanged, this, &TFileEditForm::updateButtons);
    connect(m_text, &QPlainTextEdit::undoAvailable, this, &TFileEditForm::updateButtons);
    connect(m_text, &QPlainTextEdit::redoAvailable, this, &TFileEditForm::updateButtons);
    m_text->setReadOnly(true);
    updateButtons();
}

void TFileEditForm::Open(const QString& path)
{
    clearSearch();
    if (m_open) {
        askToSave();
        closeFile();
    }
    setFileName(path);
    uint16_t rights = 0;
    if (!effectiveRights(path, rights)) {
        updateButtons();
        return;
    }
    QByteArray data;
    const serverfileio::Result r = serverfileio::Read(path, data);
    if (!r.ok) {
        shell::DialogService::instance().messageBox(shell::MessageKind::Error, QString(),
            QStringLiteral("Can't open selected file:\r%1").arg(r.error), shell::Button::Ok);
        updateButtons();
        return;
    }
    m_crlf = data.contains("\r\n") || !data.contains('\n');
    m_text->setPlainText(serverfileio::DecodeText(data));
    m_text->document()->setModified(false);
    m_text->setReadOnly((rights & nwproto::rights::Write) == 0);
    m_open = true;
    setTextActive(true);
    updateCaret();
    updateButtons();
}

bool TFileEditForm::Save()
{
    const serverfileio::Result r = serverfileio::Write(
        FileName(), serverfileio::EncodeText(m_text->toPlainText(), m_crlf), true);
    if (!r.ok) {
        shell::DialogService::instance().messageBox(shell::MessageKind::Error, QString(),
            QStringLiteral("Error saving the file\r%1").arg(r.error), shell::Button::Ok);
        return false;
    }
    m_text->document()->setModified(false);
    updateButtons();
    return true;
}

bool TFileEditForm::CloseQuery()
{
    if (m_open) {
        askToSave();
        closeFile();
    }
    return true;
}

void TFileEditForm::Replace()
{
    TTextReplaceDlg dialog(this);
    TSearchState search;
    QString replacement;
    if (dialog.Execute(search, replacement))
        ReplaceWith(search, replacement);
}

void TFileEditForm::ReplaceWith(const TSearchState& search, const QString& replacement)
{
    if (search.text.isEmpty() || m_text->isReadOnly())
        return;
    m_search = search;
    m_findNext->setEnabled(true);
    ReplaceInText(m_text, search.text, replacement, search.options);
    updateButtons();
}

bool TFileEditForm::IsModified() const
{
    return m_open && m_text->document()->isModified();
}

bool TFileEditForm::IsReadOnly() const
{
    return m_text->isReadOnly();
}

bool TFileEditForm::SaveEnabled() const
{
    return m_save->isEnabled();
}

bool TFileEditForm::UndoEnabled() const
{
    return m_undo->isEnabled();
}

bool TFileEditForm::RedoEnabled() const
{
    return m_redo->isEnabled();
}

void TFileEditForm::askToSave()
{
    if (!IsModified())
        return;
    const shell::Button answer = shell::DialogService::instance().confirm(
        QStringLiteral("File %1 has been modified.\rDo you want to save changes ?")
            .arg(namePart(FileName())));
    if (answer == shell::Button::Yes)
        Save();
}

void TFileEditForm::closeFile()
{
    const QSignalBlocker block(m_text->document());
    m_text->clear();
    m_text->document()->clearUndoRedoStacks();
    m_text->document()->setModified(false);
    m_text->setReadOnly(true);
    m_open = false;
    setTextActive(false);
    updateButtons();
}

void TFileEditForm::updateButtons()
{
    const bool writable = m_open && !m_text->isReadOnly();
    m_save->setEnabled(writable && m_text->document()->isModified());
    m_undo->setEnabled(writable && m_text->document()->isUndoAvailable());
    m_redo->setEnabled(writable && m_text->document()->isRedoAvailable());
    m_replace->setEnabled(writable);
}
