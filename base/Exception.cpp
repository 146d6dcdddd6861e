// SPDX-License-Identifier: GPL-3.0-or-later
// The one error type of the system.
#include "base/Exception.h"

TVXException::TVXException(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{}

QString VXMessage(const std::exception &error)
{
    if (auto vx = dynamic_cast<const TVXException *>(&error))
        return vx->Message();
    return QString::fromLocal8Bit(error.what());
}
