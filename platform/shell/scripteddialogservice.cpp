#include "platform/shell/scripteddialogservice.h"

namespace shell {

void ScriptedDialogService::pushButton(Button button)
{
    m_answers.append({ Answer::Kind::Button, button, {} });
}

void ScriptedDialogService::pushInput(const QString& value)
{
    m_answers.append({ Answer::Kind::Input, Button::None, value });
}

void ScriptedDialogService::pushPath(const QString& path)
{
    m_answers.append({ Answer::Kind::Path, Button::None, path });
}

void ScriptedDialogService::pushCancel()
{
    m_answers.append({ Answer::Kind::Cancel, {}, {} });
}

QList<DialogCall> ScriptedDialogService::unexpected() const
{
    QList<DialogCall> result;
    for (const DialogCall& call : m_calls) {
        if (call.unexpected)
            result.append(call);
    }
    return result;
}

QStringList ScriptedDialogService::texts() const
{
    QStringList result;
    for (const DialogCall& call : m_calls)
        result.append(call.text);
    return result;
}

void ScriptedDialogService::clear()
{
    m_answers.clear();
    m_calls.clear();
}

void ScriptedDialogService::record(DialogCall call)
{
    if (call.unexpected) {
        qWarning("ScriptedDialogService: unexpected dialog \"%s\": %s", qPrintable(call.caption),
            qPrintable(call.text));
    }
    m_calls.append(std::move(call));
}

Button ScriptedDialogService::messageBox(MessageKind kind, const QString& caption,
    const QString& text, Buttons buttons, Button defaultButton)
{
    if (!buttons)
        buttons = Button::Ok;
    DialogCall call;
    call.type = DialogCall::Type::Message;
    call.kind = kind;
    call.caption = caption.isEmpty() ? defaultCaption(kind) : caption;
    call.text = text;
    call.buttons = buttons;
    call.defaultButton = defaultButton;
    call.result = escapeButton(buttons);

    const Answer* front = m_answers.isEmpty() ? nullptr : &m_answers.first();
    const bool single = (uint32_t(buttons.toInt()) & (uint32_t(buttons.toInt()) - 1)) == 0;
    if (front && front->kind == Answer::Kind::Button && buttons.testFlag(front->button)) {
        call.result = front->button;
        m_answers.removeFirst();
    } else if (front && front->kind == Answer::Kind::Cancel) {
        m_answers.removeFirst();
    } else if (!single) {
        call.unexpected = true;
    }
    const Button result = call.result;
    record(std::move(call));
    return result;
}

bool ScriptedDialogService::inputQuery(
    const QString& caption, const QString& prompt, QString& value)
{
    DialogCall call;
    call.type = DialogCall::Type::InputQuery;
    call.caption = caption;
    call.text = prompt;
    call.details = value;
    bool accepted = false;
    if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Kind::Input) {
        value = m_answers.takeFirst().text;
        accepted = true;
    } else if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Kind::Cancel) {
        m_answers.removeFirst();
    } else {
        call.unexpected = true;
    }
    record(std::move(call));
    return accepted;
}

void ScriptedDialogService::detailedError(const QString& message, const QString& details)
{
    DialogCall call;
    call.type = DialogCall::Type::DetailedError;
    call.kind = MessageKind::Error;
    call.caption = defaultCaption(MessageKind::Error);
    call.text = message;
    call.details = details;
    call.buttons = Button::Ok;
    call.result = Button::Ok;
    record(std::move(call));
}

QString ScriptedDialogService::pathAnswer(DialogCall call)
{
    QString path;
    if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Kind::Path)
        path = m_answers.takeFirst().text;
    else if (!m_answers.isEmpty() && m_answers.first().kind == Answer::Kind::Cancel)
        m_answers.removeFirst();
    else
        call.unexpected = true;
    record(std::move(call));
    return path;
}

QString ScriptedDialogService::openFileName(
    const QString& caption, const QString& directory, const QString& filter)
{
    return pathAnswer({ DialogCall::Type::OpenFileName, MessageKind::Information, caption, {},
        directory, filter, {}, Button::None, Button::None, false });
}

QString ScriptedDialogService::saveFileName(
    const QString& caption, const QString& directory, const QString& filter)
{
    return pathAnswer({ DialogCall::Type::SaveFileName, MessageKind::Information, caption, {},
        directory, filter, {}, Button::None, Button::None, false });
}

QString ScriptedDialogService::chooseFolder(const QString& caption, const QString& directory)
{
    return pathAnswer({ DialogCall::Type::ChooseFolder, MessageKind::Information, caption, {},
        directory, {}, {}, Button::None, Button::None, false });
}

} // namespace shell
