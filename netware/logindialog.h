#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// The client's own login dialog: server, user, password. Logs in through the client library
// and stays open with a message while the login fails.
class TNWLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit TNWLoginDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; true when a login succeeded.
    static bool run(QWidget* parent = nullptr);

    void accept() override;

private:
    QComboBox* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
};
