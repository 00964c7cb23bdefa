#pragma once

#include "console/monitor/textpage.h"

// The configuration-file page: a server file in an editor, read-only unless the user has the
// Write right on it, saved with a "BAK" copy of the old contents. Before another file is opened
// and when the page goes, a modified text is offered for saving.
class TFileEditForm : public TTextPage {
    Q_OBJECT
public:
    explicit TFileEditForm(QWidget* parent = nullptr);

    // Opens the file at path (a UNC path). A file whose rights cannot be read is not opened.
    void Open(const QString& path);
    // "Save changes": false (after saying so) when the file could not be written.
    bool Save();
    // The modified-file question, then the file is closed.
    bool CloseQuery() override;
    // The replace dialog, then the replacement run.
    void Replace();
    void ReplaceWith(const TSearchState& search, const QString& replacement);

    bool IsOpen() const { return m_open; }
    bool IsModified() const;
    bool IsReadOnly() const;
    bool SaveEnabled() const;
    bool UndoEnabled() const;
    bool RedoEnabled() const;

private:
    void askToSave();
    void closeFile();
    void updateButtons();

    QAction* m_save;
    QAction* m_undo;
    QAction* m_redo;
    QAction* m_replace;
    bool m_open = false;
    bool m_crlf = true;
};
