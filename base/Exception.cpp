// SPDX-License-Identifier: GPL-3.0-or-later
// The one error type of the system.
#include "base/Exception.h"

TVXException::TVXException(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{}

TVXException::TVXException(QString message, QString origin)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
    , m_origin(std::move(origin))
{}

TVXException TVXException::Raised(const QString &operation, const QString &text)
{
    return {operation + QStringLiteral(": ") + text, operation.section(QLatin1Char('.'), 0, 0)};
}

TVXException TVXException::Wrapped(const QString &operation, const TVXException &inner,
                                   const QString &detail)
{
    const QString origin = operation.section(QLatin1Char('.'), 0, 0);
    if (!inner.m_origin.isEmpty() && inner.m_origin == origin)
        return inner;
    return {operation + QStringLiteral(": ") + detail + inner.m_message, origin};
}

QString VXMessage(const std::exception &error)
{
    if (auto vx = dynamic_cast<const TVXException *>(&error))
        return vx->Message();
    return QString::fromLocal8Bit(error.what());
}
