// SPDX-License-Identifier: GPL-3.0-or-later
// The one error type of the system: an exception that carries the message a user finally reads.
#pragma once

#include "base/Export.h"

#include <QString>

#include <exception>

// Operations that catch an inner failure rethrow it with their own name in
// front ("TVXODBCDB.Connect: ..."), so the text reads like a path to the cause.
class VXCORE_EXPORT TVXException : public std::exception
{
public:
    explicit TVXException(QString message);

    // operation + ": " + text, raised by the object that operation names
    // ("TVXODBCDB.Connect").
    static TVXException Raised(const QString &operation, const QString &text);
    // The inner failure with operation's name in front, exactly once: a failure that an
    // operation of the same object raised or wrapped already passes through as it is. A
    // detail (the SQL condition that failed, with its separator) goes between the name and
    // the inner message.
    static TVXException Wrapped(const QString &operation, const TVXException &inner,
                                const QString &detail = QString());

    const QString &Message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    TVXException(QString message, QString origin);

    QString m_message;
    QByteArray m_utf8;
    // The object whose operation named itself first ("TVXODBCDB"); empty when none did.
    QString m_origin;
};

// The message of any exception, whichever library raised it.
VXCORE_EXPORT QString VXMessage(const std::exception &error);
