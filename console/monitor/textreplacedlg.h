#pragma once

#include "console/monitor/findtextdlg.h"

// "Replace text": the find dialog with the replacement text, whole words, prompting and
// "Replace &All" (which closes the dialog with the result kReplaceAll). Stored in its own
// section, not after Cancel.
class TTextReplaceDlg : public TFindTextDlg {
    Q_OBJECT
public:
    static constexpr int kReplaceAll = 2;

    explicit TTextReplaceDlg(QWidget* parent = nullptr);

    // On OK or "Replace &All" fills state and replacement; options.replaceAll tells which.
    bool Execute(TSearchState& state, QString& replacement);

    QString ReplaceText() const;
    TSearchOptions ReplaceOptions() const;
    void ReplaceAll();
    void accept() override;

    TTarvoComboBox* EdReplaceText = nullptr;
    QCheckBox* CB_WholeWords = nullptr;
    QCheckBox* CB_PromptOnReplace = nullptr;
};
