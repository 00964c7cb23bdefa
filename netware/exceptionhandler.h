#pragma once

#include <QString>
#include <exception>
#include <functional>

// The application-wide exception handler: every exception that no action handled ends here
// (the main window's QApplication::notify and the interface-thread callers catch them and call
// handle). Interface thread only.
class ApplicationExceptionHandler {
public:
    // Called around showing a failure: the main window pauses its timer list so that no timer
    // handler runs into the same failure while the box is open. Nested failures (a second one
    // while a box is open) pause once and resume when the last box closes. Resume runs also
    // when showing fails.
    static void setPauseHooks(std::function<void()> pause, std::function<void()> resume);
    static void clearPauseHooks();

    // Shows the failure through the dialog service: TNWException and TInputError as a plain
    // error box (error icon, OK, the message), everything else in the detailed error dialog.
    // Never throws; a null pointer shows nothing.
    static void handle(std::exception_ptr error);
    // handle(std::current_exception()), for catch (...) blocks.
    static void handleCurrent() { handle(std::current_exception()); }

    // What the detailed error dialog would show for an exception: its message and technical
    // details (the exception's class, code and help context).
    struct Description {
        QString message;
        QString details;
        bool plain = false; // shown in the plain error box
    };
    static Description describe(std::exception_ptr error);
};
