#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

// The about box: logo, product name, legal notice, the program's version and the links to the
// product's web page and to support mail. Interface thread only.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kWebPage = "https://orvo.example.org";
    static constexpr const char* kSupportMail = "support@orvo.example.org";
    static constexpr const char* kMailSubject = "Tarvo Monitor";

    explicit TAboutBox(QWidget* parent = nullptr);

    // The version the program file carries, handed over by the program's start-up (the box
    // shows no version line without one).
    static void SetProgramVersion(const QString& version);
    static QString ProgramVersion();
    // Opens a link (the web page in the browser, a mailto: URL in the mail program); the
    // desktop's handler unless a test set another. An empty function goes back to it.
    static void SetUrlOpener(std::function<bool(const QUrl&)> opener);

    static QUrl WebPageUrl();
    static QUrl SupportMailUrl(); // with the subject "Tarvo Monitor"

    // What a click on the links does: the box closes, then the link opens.
    void OpenWebPage();
    void SendMail();

private:
    void openLink(const QUrl& url);
};
