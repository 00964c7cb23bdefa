#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <exception>

// The program's exception: a message for the administrator and a help context, as the
// application-wide handler shows them. what() answers the message in UTF-8.
class TException : public std::exception {
public:
    explicit TException(const QString& message, int helpContext = 0)
        : m_message(message)
        , m_what(message.toUtf8())
        , m_helpContext(helpContext)
    {
    }
    const char* what() const noexcept override { return m_what.constData(); }
    const QString& message() const { return m_message; }
    int helpContext() const { return m_helpContext; }

private:
    QString m_message;
    QByteArray m_what;
    int m_helpContext;
};

// A failing client call on files, volumes, trustees, connections or the server console; the
// code is the completion code the call answered. Shown in a plain error box.
class TNWException : public TException {
public:
    TNWException(const QString& message, int32_t code, int helpContext = 0)
        : TException(message, helpContext)
        , m_code(code)
    {
    }
    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};

// A failing directory services call; the code is the (negative) NDS code. Shown in the
// detailed error dialog.
class TNDSException : public TException {
public:
    TNDSException(const QString& message, int32_t code, int helpContext = 0)
        : TException(message, helpContext)
        , m_code(code)
    {
    }
    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};

// A value typed into an input field that does not fit the field (an edit mask or a range);
// shown, like a NetWare failure, in a plain error box.
class TInputError : public TException {
public:
    using TException::TException;
};
