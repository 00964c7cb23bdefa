#pragma once

#include "platform/shell/dialogservice.h"

#include <QList>
#include <QStringList>

namespace shell {

// One dialog the program asked for, as the scripted service saw it.
struct DialogCall {
    enum class Type {
        Message,
        InputQuery,
        DetailedError,
        OpenFileName,
        SaveFileName,
        ChooseFolder
    };
    Type type = Type::Message;
    MessageKind kind = MessageKind::Information; // messages; DetailedError counts as Error
    QString caption; // as shown: a message's empty caption is recorded as the kind's default
    QString text; // message text (with its "\r"), input prompt, detailed error's message
    QString details; // detailed error's details, input box's initial value, dialog's folder
    QString filter; // file dialogs
    Buttons buttons; // messages
    Button defaultButton = Button::None;
    Button result = Button::None; // the button answered (messages)
    bool unexpected = false; // no fitting answer was scripted
};

// Dialogs for tests: answers are queued beforehand and consumed in order by the dialogs that
// need one; every call is recorded with its exact texts. A message box with a single button
// and the detailed error dialog need no answer. A dialog that finds no fitting answer at the
// front of the queue is recorded as unexpected (and logged), answers as if closed, and leaves
// the queue as it is; tests check unexpected() is empty.
class ScriptedDialogService : public DialogService {
public:
    void pushButton(Button button); // the next message box's answer
    void pushInput(const QString& value); // the next input box accepted with this text
    void pushPath(const QString& path); // the next file or folder dialog's choice
    void pushCancel(); // the next message box is closed, input box or file dialog cancelled

    const QList<DialogCall>& calls() const { return m_calls; }
    QList<DialogCall> unexpected() const;
    QStringList texts() const; // text of every call, in order
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear(); // forgets answers and calls

    Button messageBox(MessageKind kind, const QString& caption, const QString& text,
        Buttons buttons, Button defaultButton = Button::None) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override;
    void detailedError(const QString& message, const QString& details) override;
    QString openFileName(
        const QString& caption, const QString& directory, const QString& filter) override;
    QString saveFileName(
        const QString& caption, const QString& directory, const QString& filter) override;
    QString chooseFolder(const QString& caption, const QString& directory) override;

private:
    struct Answer {
        enum class Kind { Button, Input, Path, Cancel };
        Kind kind;
        Button button = Button::None;
        QString text;
    };

    QString pathAnswer(DialogCall call);
    void record(DialogCall call);

    QList<Answer> m_answers;
    QList<DialogCall> m_calls;
};

} // namespace shell
