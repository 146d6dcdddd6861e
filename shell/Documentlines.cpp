// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Documentlines.h"

#include "base/Exception.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QByteArray LineEnd("\n\r");

} // namespace

namespace VXDocumentLines {

QString Flag(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

QByteArray Join(const QStringList &lines)
{
    QByteArray bytes;
    for (QString line : lines) {
        line.replace(QLatin1Char('\n'), QLatin1Char(' '))
                .replace(QLatin1Char('\r'), QLatin1Char(' '));
        bytes += line.toUtf8() + LineEnd;
    }
    return bytes;
}

void Save(const QString &file, const QByteArray &bytes, const QString &kind)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) < 0 || !out.commit())
        throw TVXException(QStringLiteral("The ") + kind
                           + QStringLiteral(" document cannot be written: ") + file
                           + QStringLiteral(" (") + out.errorString() + QLatin1Char(')'));
}

QByteArray Load(const QString &file, const QString &kind)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw TVXException(QStringLiteral("The ") + kind
                           + QStringLiteral(" document cannot be read: ") + file
                           + QStringLiteral(" (") + in.errorString() + QLatin1Char(')'));
    return in.readAll();
}

} // namespace VXDocumentLines

TVXDocumentLines::TVXDocumentLines(const QByteArray &bytes, QString kind)
    : m_kind(std::move(kind))
    , m_lines(QString::fromUtf8(bytes).split(QString::fromLatin1(LineEnd)))
{
    // The last line end leaves an empty piece behind.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString TVXDocumentLines::Next(const char *what)
{
    if (AtEnd())
        FailLine(m_next + 1, what, QStringLiteral("the document ends before it"));
    return m_lines[m_next++];
}

bool TVXDocumentLines::Flag(const char *what)
{
    const QString text = Next(what);
    if (text != QLatin1String("-1") && text != QLatin1String("0"))
        Fail(what, QStringLiteral("\"") + text + QStringLiteral("\" is not -1 or 0"));
    return text == QLatin1String("-1");
}

int TVXDocumentLines::Number(const char *what)
{
    const QString text = Next(what);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        Fail(what, QStringLiteral("\"") + text + QStringLiteral("\" is not a number"));
    return value;
}

int TVXDocumentLines::Count(const char *what)
{
    const int last = Number(what);
    if (last < -1)
        Fail(what, QStringLiteral("a count below -1"));
    return last + 1;
}

void TVXDocumentLines::Fail(const char *what, const QString &why) const
{
    FailLine(m_next, what, why);
}

void TVXDocumentLines::FailLine(qsizetype line, const char *what, const QString &why) const
{
    throw TVXException(QStringLiteral("This is not a %1 document of Velunor: line %2 (%3): ")
                               .arg(m_kind)
                               .arg(line)
                               .arg(QLatin1String(what))
                       + why);
}
