#include "console/monitor/textreplacedlg.h"

#include "console/shell/formstores.h"
#include "console/shell/tarvocombobox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TTextReplaceDlg::TTextReplaceDlg(QWidget* parent)
    : TFindTextDlg(formstores::ReplaceTextDialog(), parent)
{
    setWindowTitle(QStringLiteral("Replace text"));
    EdReplaceText = new TTarvoComboBox(this);
    EdReplaceText->setObjectName(QStringLiteral("EdReplaceText"));
    EdReplaceText->SetHistoryLen(10);
    auto* label = new QLabel(QStringLiteral("&Replace with:"), this);
    label->setBuddy(EdReplaceText);
    m_fields->addWidget(label);
    m_fields->addWidget(EdReplaceText);

    CB_WholeWords = new QCheckBox(QStringLiteral("&Whole words only"), this);
    CB_PromptOnReplace = new QCheckBox(QStringLiteral("&Prompt on replace"), this);
    CB_PromptOnReplace->setChecked(true);
    m_optionsBox->addWidget(CB_WholeWords);
    m_optionsBox->addWidget(CB_PromptOnReplace);

    auto* all = new QPushButton(QStringLiteral("Replace &All"), this);
    connect(all, &QPushButton::clicked, this, &TTextReplaceDlg::ReplaceAll);
    m_buttons->insertWidget(1, all);

    m_storage.bind(QStringLiteral("EdReplaceText.Items"), EdReplaceText);
    m_storage.bind(QStringLiteral("EdReplaceText.Text"), EdReplaceText);
    m_storage.bind(QStringLiteral("CB_WholeWords.Checked"), CB_WholeWords);
    m_storage.bind(QStringLiteral("CB_PromptOnReplace.Checked"), CB_PromptOnReplace);
}

bool TTextReplaceDlg::Execute(TSearchState& state, QString& replacement)
{
    const int result = exec();
    if (result != QDialog::Accepted && result != kReplaceAll)
        return false;
    state.text = FindText();
    state.options = ReplaceOptions();
    state.options.replaceAll = result == kReplaceAll;
    replacement = ReplaceText();
    return true;
}

QString TTextReplaceDlg::ReplaceText() const
{
    return EdReplaceText->currentText();
}

TSearchOptions TTextReplaceDlg::ReplaceOptions() const
{
    TSearchOptions o = Options();
    o.wholeWords = CB_WholeWords->isChecked();
    o.prompt = CB_PromptOnReplace->isChecked();
    return o;
}

void TTextReplaceDlg::ReplaceAll()
{
    EdFindText->AddToHistory();
    EdReplaceText->AddToHistory();
    m_storage.setActive(true);
    done(kReplaceAll);
}

void TTextReplaceDlg::accept()
{
    EdReplaceText->AddToHistory();
    TFindTextDlg::accept();
}
