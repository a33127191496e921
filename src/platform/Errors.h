#pragma once

#include <QString>
#include <exception>

// Failures travel as exceptions that carry a wide message for the user and the name of their
// kind (shown by the few handlers that print "class name--message").
class QuorvelError : public std::exception {
public:
    explicit QuorvelError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }
    virtual const char* className() const noexcept { return "Exception"; }

private:
    QString m_message;
    QByteArray m_utf8;
};

#define QUORVEL_ERROR_KIND(Name)                                                                             \
    class Name : public QuorvelError {                                                                       \
    public:                                                                                                  \
        using QuorvelError::QuorvelError;                                                                    \
        const char* className() const noexcept override { return #Name; }                                    \
    };

QUORVEL_ERROR_KIND(EConvertError)  // text that is not a number
QUORVEL_ERROR_KIND(EIniFileError)  // an ini file the system refuses to write
QUORVEL_ERROR_KIND(EDatabaseError) // a table that is closed, a field that is missing
QUORVEL_ERROR_KIND(EInOutError)    // a file that cannot be read
QUORVEL_ERROR_KIND(EZeroDivide)    // integer division by zero

#undef QUORVEL_ERROR_KIND
