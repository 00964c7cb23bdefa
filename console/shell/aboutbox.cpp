#include "console/shell/aboutbox.h"

#include "console/shell/shellresources.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {

QString& programVersion()
{
    static QString version;
    return version;
}

std::function<bool(const QUrl&)>& urlOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

QLabel* link(QWidget* parent, const char* name, const QString& text, const QString& hint)
{
    auto* label
        = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(hint);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About..."));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* logo = new QLabel(this);
    logo->setPixmap(shellresources::Logo());
    auto* texts = new QVBoxLayout;
    auto* name = new QLabel(QStringLiteral("Vizova Vederur"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setBold(true);
    name->setFont(big);
    texts->addWidget(name);
    texts->addWidget(new QLabel(shellresources::LegalNotice(), this));
    if (!ProgramVersion().isEmpty()) {
        auto* version = new QLabel(QStringLiteral("Version %1").arg(ProgramVersion()), this);
        version->setObjectName(QStringLiteral("Version"));
        texts->addWidget(version);
    }
    texts->addStretch();
    top->addWidget(logo);
    top->addLayout(texts, 1);
    layout->addLayout(top);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QStringLiteral("Technical support:"), this), 0, 0);
    QLabel* mail
        = link(this, "SupportMail", QString::fromLatin1(kSupportMail), QStringLiteral("Send mail"));
    links->addWidget(mail, 0, 1);
    links->addWidget(new QLabel(QStringLiteral("Informations, upgrades:"), this), 1, 0);
    QLabel* web
        = link(this, "WebPage", QString::fromLatin1(kWebPage), QStringLiteral("Go to web page"));
    links->addWidget(web, 1, 1);
    layout->addLayout(links);
    connect(web, &QLabel::linkActivated, this, [this] { OpenWebPage(); });
    connect(mail, &QLabel::linkActivated, this, [this] { SendMail(); });

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject); // Escape closes it as well
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::SetProgramVersion(const QString& version)
{
    programVersion() = version;
}

QString TAboutBox::ProgramVersion()
{
    return programVersion();
}

void TAboutBox::SetUrlOpener(std::function<bool(const QUrl&)> opener)
{
    urlOpener() = std::move(opener);
}

QUrl TAboutBox::WebPageUrl()
{
    return QUrl(QString::fromLatin1(kWebPage));
}

QUrl TAboutBox::SupportMailUrl()
{
    QUrl url(QStringLiteral("mailto:") + QString::fromLatin1(kSupportMail));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QString::fromLatin1(kMailSubject));
    url.setQuery(query);
    return url;
}

void TAboutBox::OpenWebPage()
{
    openLink(WebPageUrl());
}

void TAboutBox::SendMail()
{
    openLink(SupportMailUrl());
}

void TAboutBox::openLink(const QUrl& url)
{
    reject();
    if (urlOpener())
        urlOpener()(url);
    else
        QDesktopServices::openUrl(url);
}
