#pragma once

#include "platform/shell/dialogservice.h"

namespace shell {

// The real dialogs: QMessageBox, QInputDialog and QFileDialog, parented to the active window.
// "\r" in texts is shown as a line break.
class WidgetDialogService : public DialogService {
public:
    Button messageBox(MessageKind kind, const QString& caption, const QString& text,
        Buttons buttons, Button defaultButton = Button::None) override;
    bool inputQuery(const QString& caption, const QString& prompt, QString& value) override;
    void detailedError(const QString& message, const QString& details) override;
    QString openFileName(
        const QString& caption, const QString& directory, const QString& filter) override;
    QString saveFileName(
        const QString& caption, const QString& directory, const QString& filter) override;
    QString chooseFolder(const QString& caption, const QString& directory) override;

    // The text as a widget shows it: "\r\n" and "\r" become "\n".
    static QString displayText(const QString& text);
};

} // namespace shell
