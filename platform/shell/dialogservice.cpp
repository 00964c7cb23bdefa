#include "platform/shell/dialogservice.h"

#include "platform/shell/scripteddialogservice.h"
#include "platform/shell/widgetdialogservice.h"

#include <atomic>

namespace shell {
namespace {

std::atomic<DialogService*> g_current { nullptr };

} // namespace

Button escapeButton(Buttons buttons)
{
    for (Button b : { Button::Cancel, Button::Abort, Button::No, Button::Ok }) {
        if (buttons.testFlag(b))
            return b;
    }
    for (uint32_t bit = 1; bit <= uint32_t(Button::YesToAll); bit <<= 1) {
        if (buttons.testFlag(Button(bit)))
            return Button(bit);
    }
    return Button::Cancel;
}

QString defaultCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return QString();
}

QString buttonName(Button button)
{
    switch (button) {
    case Button::None:
        return QStringLiteral("None");
    case Button::Ok:
        return QStringLiteral("Ok");
    case Button::Cancel:
        return QStringLiteral("Cancel");
    case Button::Abort:
        return QStringLiteral("Abort");
    case Button::Retry:
        return QStringLiteral("Retry");
    case Button::Ignore:
        return QStringLiteral("Ignore");
    case Button::Yes:
        return QStringLiteral("Yes");
    case Button::No:
        return QStringLiteral("No");
    case Button::All:
        return QStringLiteral("All");
    case Button::NoToAll:
        return QStringLiteral("NoToAll");
    case Button::YesToAll:
        return QStringLiteral("YesToAll");
    }
    return QString();
}

DialogService& DialogService::instance()
{
    if (DialogService* current = g_current.load())
        return *current;
    if (qEnvironmentVariableIsSet("ORVO_TEST")) {
        static ScriptedDialogService unscripted;
        return unscripted;
    }
    static WidgetDialogService widgets;
    return widgets;
}

void DialogService::setInstance(DialogService* service)
{
    g_current.store(service);
}

} // namespace shell
