#include "console/shell/settingsdlg.h"

#include "platform/shell/dialogservice.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TSettingsDlg* g_instance = nullptr;

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool on)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(on);
    return box;
}

QLabel* swatch(QWidget* parent, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setFixedSize(14, 14);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

TSettingsDlg::TSettingsDlg(QWidget* parent)
    : QDialog(parent)
    , m_storage(formstores::Options(), this)
{
    setObjectName(QStringLiteral("SettingsDlg"));
    setWindowTitle(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->addTab(createMainPage(), QStringLiteral("Main"));
    m_pages->addTab(createFilesPage(), QStringLiteral("Files"));
    m_pages->addTab(
        createProgramPage(m_useExternalEditor, m_externalEditor,
            QStringLiteral("Use external text editor"), QStringLiteral("ExternalEditor"), true),
        QStringLiteral("Edytor"));
    m_pages->addTab(
        createProgramPage(m_useExternalViewer, m_externalViewer,
            QStringLiteral("Use external viewer"), QStringLiteral("ExternalViewer"), false),
        QStringLiteral("Viewer"));
    m_useExternalEditor->setObjectName(QStringLiteral("CB_UseExternalEditor"));
    m_useExternalViewer->setObjectName(QStringLiteral("CB_UseExternalViewer"));
    layout->addWidget(m_pages);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a dialog frame: no resizing

    bindStore();
    m_storage.readValues();
    g_instance = this;
}

TSettingsDlg::~TSettingsDlg()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TSettingsDlg* TSettingsDlg::Instance()
{
    return g_instance;
}

QWidget* TSettingsDlg::createMainPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_canonicBox = checkBox(page, "CanonicBox", QStringLiteral("Use short object names"), true);
    m_canonicBox->setToolTip(QStringLiteral("Use canonical names"));
    m_showTips = checkBox(page, "ShowTips", QStringLiteral("Show tips on the startup"), true);
    auto* chartRow = new QHBoxLayout;
    m_updateChartTime = new QSpinBox(page);
    m_updateChartTime->setObjectName(QStringLiteral("UpdateChartTime"));
    m_updateChartTime->setRange(1, 15);
    m_updateChartTime->setValue(kDefaultChartSeconds);
    m_updateChartTime->setAlignment(Qt::AlignRight);
    chartRow->addWidget(new QLabel(QStringLiteral("Update utilization charts every"), page));
    chartRow->addWidget(m_updateChartTime);
    chartRow->addWidget(new QLabel(QStringLiteral("seconds"), page));
    chartRow->addStretch();
    m_showLicencedConns = checkBox(
        page, "ShowLicencedConns", QStringLiteral("Show licensed connections only"), false);
    layout->addWidget(m_canonicBox);
    layout->addWidget(m_showTips);
    layout->addLayout(chartRow);
    layout->addWidget(m_showLicencedConns);
    layout->addStretch();

    connect(m_updateChartTime, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (!m_reverting)
            emit chartIntervalChanged(seconds * 1000);
    });
    return page;
}

QWidget* TSettingsDlg::createFilesPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_showFileIcons = checkBox(page, "ShowFileIcons", QStringLiteral("Show file icons"), true);
    m_highlightReadOnly = checkBox(
        page, "HighlightReadOnly", QStringLiteral("Highlight \"read-only\" files"), false);
    m_highlightCompressed
        = checkBox(page, "HighlightCompressed", QStringLiteral("Highlight compressed files"), true);
    m_sortByName = checkBox(page, "SortByName", QStringLiteral("Sort files by name"), false);
    m_sortByName->hide(); // kept in the store, not offered
    layout->addWidget(m_showFileIcons);
    for (auto [box, colour] : { std::pair { m_highlightReadOnly, QColor(Qt::green) },
             std::pair { m_highlightCompressed, QColor(Qt::blue) } }) {
        auto* row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(swatch(page, colour));
        row->addStretch();
        layout->addLayout(row);
    }
    layout->addStretch();
    // One highlight at a time: switching one on switches the other off.
    connect(m_highlightReadOnly, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_highlightCompressed->setChecked(false);
    });
    connect(m_highlightCompressed, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_highlightReadOnly->setChecked(false);
    });
    return page;
}

QWidget* TSettingsDlg::createProgramPage(QCheckBox*& useBox, QLineEdit*& edit,
    const QString& caption, const QString& objectName, bool mustExist)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    useBox = new QCheckBox(caption, page);
    edit = new QLineEdit(QStringLiteral("Notepad.exe"), page);
    edit->setObjectName(objectName);
    auto* browse = new QToolButton(page);
    browse->setText(QStringLiteral("..."));
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    layout->addWidget(useBox);
    layout->addLayout(row);
    layout->addStretch();
    QLineEdit* target = edit;
    connect(browse, &QToolButton::clicked, this, [target, mustExist] {
        const QString chosen
            = shell::DialogService::instance().openFileName(QStringLiteral("Browse"),
                QFileInfo(target->text()).path(), QStringLiteral("Programs (*)"));
        if (chosen.isEmpty() || (mustExist && !QFileInfo::exists(chosen)))
            return;
        target->setText(chosen);
    });
    return page;
}

void TSettingsDlg::bindStore()
{
    const std::pair<const char*, QCheckBox*> boxes[] = {
        { "ShowTips.Checked", m_showTips },
        { "ShowFileIcons.Checked", m_showFileIcons },
        { "HighlightReadOnly.Checked", m_highlightReadOnly },
        { "CanonicBox.Checked", m_canonicBox },
        { "HighlightCompressed.Checked", m_highlightCompressed },
        { "SortByName.Checked", m_sortByName },
        { "ShowLicencedConns.Checked", m_showLicencedConns },
        { "CB_UseExternalEditor.Checked", m_useExternalEditor },
        { "CB_UseExternalViewer.Checked", m_useExternalViewer },
    };
    for (const auto& [name, box] : boxes)
        m_storage.bind(QString::fromLatin1(name), box);
    m_storage.bind(QStringLiteral("UpdateChartTime.Value"), m_updateChartTime);
    // The file-name edits answer the same text as their file name.
    m_storage.bind(QStringLiteral("ExternalEditor.Text"), m_externalEditor);
    m_storage.bind(QStringLiteral("ExternalViewer.Text"), m_externalViewer);
    m_storage.bind(QStringLiteral("ExternalEditor.FileName"), m_externalEditor);
    m_storage.bind(QStringLiteral("ExternalViewer.FileName"), m_externalViewer);
}

bool TSettingsDlg::CanonicalNames() const
{
    return m_canonicBox->isChecked();
}
bool TSettingsDlg::ShowTips() const
{
    return m_showTips->isChecked();
}
int TSettingsDlg::UpdateChartTime() const
{
    return m_updateChartTime->value();
}
bool TSettingsDlg::ShowLicencedConns() const
{
    return m_showLicencedConns->isChecked();
}
bool TSettingsDlg::ShowFileIcons() const
{
    return m_showFileIcons->isChecked();
}
bool TSettingsDlg::HighlightReadOnly() const
{
    return m_highlightReadOnly->isChecked();
}
bool TSettingsDlg::HighlightCompressed() const
{
    return m_highlightCompressed->isChecked();
}
bool TSettingsDlg::SortByName() const
{
    return m_sortByName->isChecked();
}
bool TSettingsDlg::UseExternalEditor() const
{
    return m_useExternalEditor->isChecked();
}
QString TSettingsDlg::ExternalEditor() const
{
    return m_externalEditor->text();
}
bool TSettingsDlg::UseExternalViewer() const
{
    return m_useExternalViewer->isChecked();
}
QString TSettingsDlg::ExternalViewer() const
{
    return m_externalViewer->text();
}

TConsoleOptions TSettingsDlg::Options() const
{
    TConsoleOptions o;
    o.canonicalNames = CanonicalNames();
    o.showTips = ShowTips();
    o.chartIntervalSeconds = UpdateChartTime();
    o.licensedOnly = ShowLicencedConns();
    return o;
}

void TSettingsDlg::SetShowTips(bool on)
{
    m_showTips->setChecked(on);
    m_storage.save();
}

void TSettingsDlg::accept()
{
    m_storage.setActive(true);
    QDialog::accept();
}

void TSettingsDlg::reject()
{
    m_storage.setActive(false);
    QDialog::reject();
    // Everything is back to what the dialog showed, also where nothing is stored yet; the chart
    // interval already took effect and stays for this run.
    m_reverting = true;
    m_storage.setValues(m_shownValues);
    m_reverting = false;
}

void TSettingsDlg::showEvent(QShowEvent* event)
{
    if (!m_storage.isActive()) {
        m_reverting = true;
        m_storage.readValues();
        m_reverting = false;
    }
    m_shownValues = m_storage.values();
    QDialog::showEvent(event);
}
