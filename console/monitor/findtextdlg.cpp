#include "console/monitor/findtextdlg.h"

#include "console/shell/formstores.h"
#include "console/shell/tarvocombobox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TFindTextDlg::TFindTextDlg(QWidget* parent)
    : TFindTextDlg(formstores::FindTextDialog(), parent)
{
}

TFindTextDlg::TFindTextDlg(const TFormStoreDef& store, QWidget* parent)
    : QDialog(parent)
    , m_storage(store, this)
{
    setWindowTitle(QStringLiteral("Find Text"));
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    top->addLayout(left, 1);
    m_fields = new QVBoxLayout;
    left->addLayout(m_fields);

    EdFindText = new TTarvoComboBox(this);
    EdFindText->setObjectName(QStringLiteral("EdFindText"));
    EdFindText->SetHistoryLen(10);
    auto* findLabel = new QLabel(QStringLiteral("&Text to find:"), this);
    findLabel->setBuddy(EdFindText);
    m_fields->addWidget(findLabel);
    m_fields->addWidget(EdFindText);

    auto* groups = new QHBoxLayout;
    left->addLayout(groups);
    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    m_optionsBox = new QVBoxLayout(options);
    CB_CaseSensitive = new QCheckBox(QStringLiteral("&Case sensitive"), options);
    CB_GlobalSearch = new QCheckBox(QStringLiteral("&Global Search"), options);
    m_optionsBox->addWidget(CB_CaseSensitive);
    m_optionsBox->addWidget(CB_GlobalSearch);
    groups->addWidget(options);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* dirBox = new QVBoxLayout(direction);
    RB_Forward = new QRadioButton(QStringLiteral("&Forward"), direction);
    RB_Backward = new QRadioButton(QStringLiteral("&Backward"), direction);
    RB_Forward->setChecked(true);
    dirBox->addWidget(RB_Forward);
    dirBox->addWidget(RB_Backward);
    dirBox->addStretch();
    groups->addWidget(direction);

    m_buttons = new QVBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons->addWidget(ok);
    m_buttons->addWidget(cancel);
    m_buttons->addStretch();
    top->addLayout(m_buttons);

    m_storage.bind(QStringLiteral("CB_CaseSensitive.Checked"), CB_CaseSensitive);
    m_storage.bind(QStringLiteral("CB_GlobalSearch.Checked"), CB_GlobalSearch);
    // One of the two directions is always checked: a stored False checks "&Backward".
    m_storage.bind(
        QStringLiteral("RB_Forward.Checked"), [this] { return QVariant(RB_Forward->isChecked()); },
        [this](const QVariant& v) { (v.toBool() ? RB_Forward : RB_Backward)->setChecked(true); });
    m_storage.bind(QStringLiteral("EdFindText.Items"), EdFindText);
    m_storage.bind(QStringLiteral("EdFindText.Text"), EdFindText);
}

bool TFindTextDlg::Execute(TSearchState& state)
{
    if (exec() != QDialog::Accepted)
        return false;
    state.text = FindText();
    state.options = Options();
    return true;
}

QString TFindTextDlg::FindText() const
{
    return EdFindText->currentText();
}

TSearchOptions TFindTextDlg::Options() const
{
    TSearchOptions o;
    o.backward = RB_Backward->isChecked();
    o.caseSensitive = CB_CaseSensitive->isChecked();
    o.global = CB_GlobalSearch->isChecked();
    return o;
}

void TFindTextDlg::accept()
{
    EdFindText->AddToHistory();
    m_storage.setActive(true);
    QDialog::accept();
}

void TFindTextDlg::reject()
{
    m_storage.setActive(false);
    QDialog::reject();
}
