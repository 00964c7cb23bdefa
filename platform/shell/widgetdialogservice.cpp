#include "platform/shell/widgetdialogservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>

namespace shell {
namespace {

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardOf(Button button)
{
    switch (button) {
    case Button::Ok:
        return QMessageBox::Ok;
    case Button::Cancel:
        return QMessageBox::Cancel;
    case Button::Abort:
        return QMessageBox::Abort;
    case Button::Retry:
        return QMessageBox::Retry;
    case Button::Ignore:
        return QMessageBox::Ignore;
    case Button::Yes:
        return QMessageBox::Yes;
    case Button::No:
        return QMessageBox::No;
    case Button::NoToAll:
        return QMessageBox::NoToAll;
    case Button::YesToAll:
        return QMessageBox::YesToAll;
    case Button::All:
    case Button::None:
        break;
    }
    return QMessageBox::NoButton;
}

} // namespace

QString WidgetDialogService::displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

Button WidgetDialogService::messageBox(MessageKind kind, const QString& caption,
    const QString& text, Buttons buttons, Button defaultButton)
{
    if (!buttons)
        buttons = Button::Ok;
    QMessageBox box(iconOf(kind), caption.isEmpty() ? defaultCaption(kind) : caption,
        displayText(text), QMessageBox::NoButton, dialogParent());
    QMap<QAbstractButton*, Button> answers;
    for (uint32_t bit = 1; bit <= uint32_t(Button::YesToAll); bit <<= 1) {
        const Button b = Button(bit);
        if (!buttons.testFlag(b))
            continue;
        QAbstractButton* widget = b == Button::All
            ? box.addButton(QStringLiteral("&All"), QMessageBox::AcceptRole)
            : box.addButton(standardOf(b));
        answers.insert(widget, b);
        if (b == defaultButton)
            box.setDefaultButton(qobject_cast<QPushButton*>(widget));
    }
    box.setEscapeButton(answers.key(escapeButton(buttons)));
    box.exec();
    return answers.value(box.clickedButton(), escapeButton(buttons));
}

bool WidgetDialogService::inputQuery(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        dialogParent(), caption, displayText(prompt), QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

void WidgetDialogService::detailedError(const QString& message, const QString& details)
{
    QMessageBox box(QMessageBox::Critical, defaultCaption(MessageKind::Error), displayText(message),
        QMessageBox::Ok, dialogParent());
    box.setDetailedText(displayText(details));
    box.exec();
}

QString WidgetDialogService::openFileName(
    const QString& caption, const QString& directory, const QString& filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), caption, directory, filter);
}

QString WidgetDialogService::saveFileName(
    const QString& caption, const QString& directory, const QString& filter)
{
    return QFileDialog::getSaveFileName(dialogParent(), caption, directory, filter);
}

QString WidgetDialogService::chooseFolder(const QString& caption, const QString& directory)
{
    return QFileDialog::getExistingDirectory(dialogParent(), caption, directory);
}

} // namespace shell
