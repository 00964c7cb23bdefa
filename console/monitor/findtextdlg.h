#pragma once

#include "console/monitor/textsearch.h"
#include "console/shell/formstorage.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;
class QVBoxLayout;
class TTarvoComboBox;

// "Find Text": the text to find with its history and the search options. Created for each
// use; its values are stored (section "Find Text Dialog") when it closes with OK, not after
// Cancel.
class TFindTextDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFindTextDlg(QWidget* parent = nullptr);

    // Shows the dialog with the stored values of the last time; on OK fills state with what
    // was asked.
    bool Execute(TSearchState& state);

    QString FindText() const;
    TSearchOptions Options() const;

    TTarvoComboBox* EdFindText = nullptr;
    QCheckBox* CB_CaseSensitive = nullptr;
    QCheckBox* CB_GlobalSearch = nullptr;
    QRadioButton* RB_Forward = nullptr;
    QRadioButton* RB_Backward = nullptr;

    void accept() override;
    void reject() override;

protected:
    // The replace dialog builds on this one with its own store.
    TFindTextDlg(const TFormStoreDef& store, QWidget* parent);
    // The grid of fields above the option groups, and the box holding the buttons.
    QVBoxLayout* m_fields = nullptr;
    QVBoxLayout* m_optionsBox = nullptr;
    QVBoxLayout* m_buttons = nullptr;
    TFormStorage m_storage; // last: written while the controls still exist
};
