#include "console/shell/tipoftheday.h"

#include "console/shell/settingsdlg.h"
#include "console/shell/shellresources.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Every tip of this edition asks "Do you know...".
constexpr int kTitleKinds[TfTipOfTheDay::kTipCount] = { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };

} // namespace

TfTipOfTheDay::TfTipOfTheDay(QWidget* parent)
    : QDialog(parent)
    , m_storage(formstores::TipOfTheDay(), this)
{
    setObjectName(QStringLiteral("fTipOfTheDay"));
    setWindowTitle(QStringLiteral("Wellcome to Tarvo Vizova Vederur"));
    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    auto* bulb = new QLabel(this);
    bulb->setPixmap(shellresources::Bulb());
    bulb->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* right = new QVBoxLayout;
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("TitleLabel"));
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() * 3 / 2);
    m_title->setFont(font);
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("TipText"));
    m_text->setOpenLinks(false);
    m_text->setMinimumSize(380, 200);
    m_text->setPlainText(
        QStringLiteral("Sorry. No hints available. \n\nYou can disable this window."));
    right->addWidget(m_title);
    right->addWidget(m_text, 1);
    body->addWidget(bulb);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);

    auto* bottom = new QHBoxLayout;
    m_showNextTime
        = new QCheckBox(QStringLiteral("Show this window next time you start program"), this);
    bottom->addWidget(m_showNextTime, 1);
    auto* next = new QPushButton(QStringLiteral("Next tip..."), this);
    auto* whatsNew = new QPushButton(QStringLiteral("What's new..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setDefault(true);
    for (QPushButton* b : { next, whatsNew, close })
        bottom->addWidget(b);
    layout->addLayout(bottom);
    connect(next, &QPushButton::clicked, this, &TfTipOfTheDay::NextTip);
    connect(whatsNew, &QPushButton::clicked, this, &TfTipOfTheDay::WhatsNew);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_storage.bind(
        QStringLiteral("CurrTip.Value"), [this] { return QVariant(m_currTip); },
        [this](const QVariant& v) { m_currTip = v.toInt(); });
}

QString TfTipOfTheDay::TitleOfKind(int kind)
{
    switch (kind) {
    case 0:
        return QStringLiteral("Tip of the day...");
    case 1:
        return QStringLiteral("Do you know...");
    case 2:
        return QStringLiteral("Today's sentence...");
    case 3:
        return QStringLiteral("Today's joke");
    case 4:
        return QStringLiteral("Today's message...");
    default:
        return {};
    }
}

int TfTipOfTheDay::TitleKind(int tip)
{
    return tip >= 0 && tip < kTipCount ? kTitleKinds[tip] : -1;
}

void TfTipOfTheDay::NextTip()
{
    ++m_currTip;
    // A counter stored out of range by hand starts over as well.
    if (m_currTip >= kTipCount || m_currTip < 0)
        m_currTip = 0;
    m_title->setText(TitleOfKind(TitleKind(m_currTip)));
    showDocument(m_currTip + 1);
}

void TfTipOfTheDay::WhatsNew()
{
    m_title->setText(QStringLiteral("New features..."));
    showDocument(kNewFeatures);
}

void TfTipOfTheDay::showDocument(int number)
{
    const QString document = shellresources::TipDocument(number);
    if (document.isEmpty())
        m_text->clear();
    else
        m_text->setHtml(document);
}

QString TfTipOfTheDay::Title() const
{
    return m_title->text();
}

QString TfTipOfTheDay::Text() const
{
    return m_text->toPlainText();
}

void TfTipOfTheDay::showEvent(QShowEvent* event)
{
    // The store has read the counter before this runs (its event filter comes first).
    QDialog::showEvent(event);
    if (!event->spontaneous())
        NextTip();
}

void ShowTipOfTheDay(TSettingsDlg& settings, QWidget* parent)
{
    TfTipOfTheDay tip(parent);
    tip.ShowNextTime()->setChecked(settings.ShowTips());
    tip.exec();
    settings.SetShowTips(tip.ShowNextTime()->isChecked());
}
