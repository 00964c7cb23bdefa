#include "netware/logindialog.h"

#include "platform/nwclient/client.h"
#include "platform/shell/dialogservice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

TNWLoginDialog::TNWLoginDialog(QWidget* parent)
    : QDialog(parent)
    , m_server(new QComboBox(this))
    , m_user(new QLineEdit(this))
    , m_password(new QLineEdit(this))
{
    setWindowTitle(tr("NetWare Login"));
    m_server->setEditable(true);
    m_server->addItems(nwclient::knownServers());
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Server:"), m_server);
    form->addRow(tr("&User name:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_user->setFocus();
}

void TNWLoginDialog::accept()
{
    const QString server = m_server->currentText().trimmed();
    const nwclient::NWCCODE code
        = nwclient::loginToServer(server, m_user->text().trimmed(), m_password->text());
    if (code != nwproto::cc::Success) {
        shell::DialogService::instance().error(
            tr("Login to server %1 failed.\rError number %2")
                .arg(server,
                    QString::number(code, 16).rightJustified(4, QLatin1Char('0')).toUpper()));
        m_password->clear();
        return;
    }
    QDialog::accept();
}

bool TNWLoginDialog::run(QWidget* parent)
{
    TNWLoginDialog dlg(parent);
    return dlg.exec() == QDialog::Accepted;
}
