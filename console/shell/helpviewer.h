#pragma once

#include <QMainWindow>

class QTextBrowser;

// The console's help: an HTML file beside the program, shown in one help window that stays
// open beside the main window. Interface thread only.
class THelpViewer : public QMainWindow {
    Q_OBJECT
public:
    // Shows the help file from its start (its contents), creating the window on first use. A
    // missing file is reported through the dialog service. Answers the window, or nullptr.
    static THelpViewer* ShowContents(const QString& helpFile);
    // The window while it is open, nullptr otherwise.
    static THelpViewer* Current();

    QString Source() const;
    QString Text() const;

private:
    THelpViewer();
    ~THelpViewer() override;

    QTextBrowser* m_browser = nullptr;
};
