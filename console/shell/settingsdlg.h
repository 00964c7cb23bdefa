#pragma once

#include "console/shell/consoleoptions.h"
#include "console/shell/formstorage.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

// The options dialog: one process-wide instance, created hidden before the main window (it reads
// its store at once) and freed at the end of the program. The other parts of the console read
// their options from it when they need them:
//
//     if (TSettingsDlg::Instance()->ShowFileIcons()) ...
//
// OK makes the store active, so the values are written when the dialog closes; Cancel makes it
// inactive and puts the stored values back into the controls at once, so a cancelled edit is
// neither read by anyone nor written by a later write of the store. Interface thread only.
class TSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // The first run's chart interval: the spin edit's range starts at 1 second, and a timer at
    // 0 ms would fire without pause.
    static constexpr int kDefaultChartSeconds = 2;

    explicit TSettingsDlg(QWidget* parent = nullptr);
    ~TSettingsDlg() override;

    // The instance alive now, nullptr before start-up and after shut-down.
    static TSettingsDlg* Instance();

    bool CanonicalNames() const; // "Use short object names"
    bool ShowTips() const; // "Show tips on the startup"
    int UpdateChartTime() const; // seconds
    bool ShowLicencedConns() const; // "Show licensed connections only"
    bool ShowFileIcons() const;
    bool HighlightReadOnly() const;
    bool HighlightCompressed() const;
    bool SortByName() const;
    bool UseExternalEditor() const;
    QString ExternalEditor() const;
    bool UseExternalViewer() const;
    QString ExternalViewer() const;
    // The options the main window mirrors.
    TConsoleOptions Options() const;

    // The tip of the day's check box goes here, and the store is written at once.
    void SetShowTips(bool on);
    TFormStorage& Storage() { return m_storage; }

    void accept() override;
    void reject() override;

signals:
    // The chart interval in milliseconds, at once when the spin edit changes (also while the
    // dialog is open and if it is then cancelled).
    void chartIntervalChanged(int milliseconds);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createMainPage();
    QWidget* createFilesPage();
    QWidget* createProgramPage(QCheckBox*& useBox, QLineEdit*& edit, const QString& caption,
        const QString& objectName, bool mustExist);
    void bindStore();

    QTabWidget* m_pages = nullptr;
    QCheckBox* m_canonicBox = nullptr;
    QCheckBox* m_showTips = nullptr;
    QSpinBox* m_updateChartTime = nullptr;
    QCheckBox* m_showLicencedConns = nullptr;
    QCheckBox* m_showFileIcons = nullptr;
    QCheckBox* m_highlightReadOnly = nullptr;
    QCheckBox* m_highlightCompressed = nullptr;
    QCheckBox* m_sortByName = nullptr;
    QCheckBox* m_useExternalEditor = nullptr;
    QLineEdit* m_externalEditor = nullptr;
    QCheckBox* m_useExternalViewer = nullptr;
    QLineEdit* m_externalViewer = nullptr;
    bool m_reverting = false;
    QVariantList m_shownValues;
    TFormStorage m_storage; // last: written at destruction while the controls still exist
};
