#pragma once

#include <QFlags>
#include <QString>
#include <cstdint>

namespace shell {

enum class MessageKind { Error, Warning, Information, Confirmation };

enum class Button : uint32_t {
    None = 0,
    Ok = 0x1,
    Cancel = 0x2,
    Abort = 0x4,
    Retry = 0x8,
    Ignore = 0x10,
    Yes = 0x20,
    No = 0x40,
    All = 0x80,
    NoToAll = 0x100,
    YesToAll = 0x200,
};
Q_DECLARE_FLAGS(Buttons, Button)
Q_DECLARE_OPERATORS_FOR_FLAGS(Buttons)

// What closing a box (Escape, the window's close button) answers: Cancel when the box has it,
// else Abort, else No, else Ok, else its first button. So Yes/Abort/Retry closes as Abort.
Button escapeButton(Buttons buttons);
// The box's caption when the caller gives none: "Error", "Warning", "Information", "Confirm".
QString defaultCaption(MessageKind kind);
// "Ok", "Cancel", ... for messages and test output.
QString buttonName(Button button);

// Every message box, question, input box and file or folder dialog of the program goes through
// the current instance, so that tests can script the answers and read the texts asked. Texts
// use "\r" as the line break inside a message, as the program's own texts do. Interface thread
// only.
class DialogService {
public:
    virtual ~DialogService() = default;

    // A message box of the kind's icon with the given buttons (an empty caption gives the
    // kind's default caption). Returns the pressed button, or escapeButton(buttons) when the
    // box is closed. A default button of None leaves the choice to the box.
    virtual Button messageBox(MessageKind kind, const QString& caption, const QString& text,
        Buttons buttons, Button defaultButton = Button::None)
        = 0;
    // An input box: shows value, and on OK stores the edited text in it and returns true.
    virtual bool inputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
    // An error box with a "Details" button that shows the technical details.
    virtual void detailedError(const QString& message, const QString& details) = 0;
    // File and folder dialogs answer the chosen path, empty when cancelled. Filters use Qt's
    // syntax: "Text files (*.txt);;All files (*)".
    virtual QString openFileName(
        const QString& caption, const QString& directory, const QString& filter)
        = 0;
    virtual QString saveFileName(
        const QString& caption, const QString& directory, const QString& filter)
        = 0;
    virtual QString chooseFolder(const QString& caption, const QString& directory) = 0;

    Button message(MessageKind kind, const QString& text, Buttons buttons)
    {
        return messageBox(kind, QString(), text, buttons);
    }
    void error(const QString& text) { messageBox(MessageKind::Error, {}, text, Button::Ok); }
    void warning(const QString& text) { messageBox(MessageKind::Warning, {}, text, Button::Ok); }
    void information(const QString& text)
    {
        messageBox(MessageKind::Information, {}, text, Button::Ok);
    }
    Button confirm(const QString& text, Buttons buttons = Button::Yes | Button::No)
    {
        return messageBox(MessageKind::Confirmation, {}, text, buttons);
    }

    // The current service. Unless one was set: a WidgetDialogService, or in a test run (the
    // environment variable ORVO_TEST set) a ScriptedDialogService with no answers, so that a
    // test that forgot to script a question records it instead of hanging on a modal box.
    static DialogService& instance();
    // Makes service current (not owned); nullptr goes back to the default.
    static void setInstance(DialogService* service);
};

} // namespace shell
