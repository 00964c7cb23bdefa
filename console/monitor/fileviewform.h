#pragma once

#include "console/monitor/textpage.h"

class QLabel;

// The log page: a server log read-only, its size, the caret on the last line, and clearing the
// log. Hiding the page closes the log.
class TFileViewForm : public TTextPage {
    Q_OBJECT
public:
    explicit TFileViewForm(QWidget* parent = nullptr);

    // Opens the log at path. A log that is missing or cannot be read leaves the page empty
    // without a word.
    void Open(const QString& path);
    // Asks "Do you want to clear log file ?"; on Yes empties the log and opens it again.
    void ClearLog();
    void CloseFile();

    bool IsOpen() const { return m_open; }
    QString SizeText() const;
    bool ClearEnabled() const;
    bool FindEnabled() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void reset();

    QLabel* m_size;
    QAction* m_clear;
    QAction* m_findText;
    bool m_open = false;
};
