#include "console/monitor/textpage.h"

#include "console/monitor/findtextdlg.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

TTextPage::TTextPage(QWidget* parent)
    : TInfoView(parent)
    , m_text(new QPlainTextEdit(this))
    , m_toolBar(new QToolBar(this))
    , m_popup(new QMenu(this))
    , m_column(new QLabel(this))
    , m_row(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_toolBar, 1);
    for (QLabel* field : { m_column, m_row }) {
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setMinimumWidth(90);
        bar->addWidget(field);
    }
    layout->addLayout(bar);
    layout->addWidget(m_text, 1);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);

    m_find = m_popup->addAction(QStringLiteral("Find"), this, &TTextPage::Find);
    m_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_findNext = m_popup->addAction(QStringLiteral("Find Next"), this, &TTextPage::FindNext);
    m_findNext->setShortcut(Qt::Key_F3);
    m_findNext->setEnabled(false);
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this, &TTextPage::updateCaret);
    setTextActive(false);
}

QString TTextPage::ColumnText() const
{
    return m_column->text();
}

QString TTextPage::RowText() const
{
    return m_row->text();
}

bool TTextPage::FindNextEnabled() const
{
    return m_findNext->isEnabled();
}

void TTextPage::Find()
{
    TFindTextDlg dialog(this);
    TSearchState search;
    if (dialog.Execute(search))
        FindWith(search);
}

void TTextPage::FindNext()
{
    if (m_search.text.isEmpty())
        return;
    TSearchOptions options = m_search.options;
    options.global = false;
    if (!FindInText(m_text, m_search.text, options))
        SayNotFound(m_search.text);
}

void TTextPage::FindWith(const TSearchState& search)
{
    if (search.text.isEmpty())
        return;
    m_search = search;
    m_findNext->setEnabled(true);
    m_text->setFocus();
    if (!FindInText(m_text, search.text, search.options))
        SayNotFound(search.text);
}

void TTextPage::clearSearch()
{
    m_search = {};
    m_findNext->setEnabled(false);
}

void TTextPage::setTextActive(bool active)
{
    m_column->setVisible(active);
    m_row->setVisible(active);
    for (QAction* a : m_popup->actions()) {
        if (active)
            m_text->addAction(a);
        else
            m_text->removeAction(a);
    }
    m_text->setContextMenuPolicy(active ? Qt::CustomContextMenu : Qt::NoContextMenu);
    disconnect(m_text, &QWidget::customContextMenuRequested, this, nullptr);
    if (active)
        connect(m_text, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->exec(m_text->mapToGlobal(at)); });
}

void TTextPage::updateCaret()
{
    const QTextCursor c = m_text->textCursor();
    m_column->setText(QStringLiteral("Column: %1").arg(c.positionInBlock() + 1));
    m_row->setText(QStringLiteral("Row: %1").arg(c.blockNumber() + 1));
}
