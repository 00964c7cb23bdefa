#pragma once

#include "console/monitor/infoview.h"
#include "console/monitor/textsearch.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;

// What the log page and the configuration-file page share: the text, the caret's "Column" and
// "Row" fields, and the find pop-up with "Find" (Ctrl+F) and "Find Next" (F3).
class TTextPage : public TInfoView {
    Q_OBJECT
public:
    explicit TTextPage(QWidget* parent = nullptr);

    QPlainTextEdit* Text() const { return m_text; }
    const QString& FileName() const { return m_fileName; }
    const TSearchState& Search() const { return m_search; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QString ColumnText() const;
    QString RowText() const;
    bool FindNextEnabled() const;

    // The find dialog, then the search; "Search string '%s' not found" when nothing is found.
    void Find();
    // The last search again from the caret, never over the whole text.
    void FindNext();
    // The search a dialog asked for (an empty text does nothing).
    void FindWith(const TSearchState& search);

protected:
    void setFileName(const QString& name) { m_fileName = name; }
    void clearSearch();
    // Attaches or detaches the find pop-up and shows or hides the caret fields.
    void setTextActive(bool active);
    void updateCaret();

    QPlainTextEdit* m_text;
    QToolBar* m_toolBar;
    QMenu* m_popup;
    QAction* m_find;
    QAction* m_findNext;
    TSearchState m_search;

private:
    QLabel* m_column;
    QLabel* m_row;
    QString m_fileName;
};
