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

    const QString &Message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The message of any exception, whichever library raised it.
VXCORE_EXPORT QString VXMessage(const std::exception &error);
