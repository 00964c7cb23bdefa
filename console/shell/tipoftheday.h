#pragma once

#include "console/shell/formstorage.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTextBrowser;
class TSettingsDlg;

// The tip of the day: each showing moves on to the next of twelve tips, and the counter is kept
// (section "MainForm"), so every start continues where the last one ended. Interface thread.
class TfTipOfTheDay : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTipCount = 12;
    static constexpr int kNewFeatures = 1001; // the document "TIP_1001"

    explicit TfTipOfTheDay(QWidget* parent = nullptr);

    // The title of a kind: 0 "Tip of the day...", 1 "Do you know...", 2 "Today's sentence...",
    // 3 "Today's joke", 4 "Today's message...", any other kind none.
    static QString TitleOfKind(int kind);
    // The kind of each tip's title, by tip index.
    static int TitleKind(int tip);

    // "Next tip...": the counter moves on (after the last tip comes the first), the title and
    // the tip's document follow; a missing document leaves the text empty.
    void NextTip();
    // "What's new...".
    void WhatsNew();

    int CurrentTip() const { return m_currTip; }
    QString Title() const;
    QString Text() const; // the document as plain text
    QCheckBox* ShowNextTime() const { return m_showNextTime; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showDocument(int number);

    QLabel* m_title = nullptr;
    QTextBrowser* m_text = nullptr;
    QCheckBox* m_showNextTime = nullptr;
    int m_currTip = -1; // so that the first showing gives the first tip
    TFormStorage m_storage; // last: written at destruction while the controls still exist
};

// The main window's tip of the day: the check box starts from "Show tips on the startup", and
// its state goes back there and into the stored options as soon as the window closes.
void ShowTipOfTheDay(TSettingsDlg& settings, QWidget* parent);
