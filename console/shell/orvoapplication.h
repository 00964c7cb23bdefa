#pragma once

#include <QApplication>

// The console's application object: an exception that escapes an event handler goes to the
// application-wide handler instead of unwinding through Qt's event loop.
class TOrvoApplication : public QApplication {
    Q_OBJECT
public:
    TOrvoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
