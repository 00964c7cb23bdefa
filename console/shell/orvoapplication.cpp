#include "console/shell/orvoapplication.h"

#include "netware/exceptionhandler.h"

TOrvoApplication::TOrvoApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("orvo"));
    setApplicationDisplayName(QStringLiteral("Tarvo Vizova Vederur"));
}

bool TOrvoApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ApplicationExceptionHandler::handleCurrent();
        return true;
    }
}
