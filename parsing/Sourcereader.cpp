// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a source file row by row with its encoding decided once for the whole file.
#include "parsing/Sourcereader.h"

#include "base/Exception.h"

#include <QStringDecoder>

#include <cstring>

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes, kept as Latin-1.
constexpr char16_t Windows1252High[32]
        = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
           0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsValidUtf8(const char *data, qint64 size)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    constexpr qint64 chunk = 1 << 16;
    for (qint64 at = 0; at < size; at += chunk) {
        const QString decoded
                = decoder.decode(QByteArrayView(data + at, std::min(chunk, size - at)));
        Q_UNUSED(decoded);
        if (decoder.hasError())
            return false;
    }
    // An incomplete sequence at the very end is an error too.
    const QString rest = decoder.decode(QByteArrayView());
    Q_UNUSED(rest);
    return !decoder.hasError()
           && (size == 0 || (static_cast<unsigned char>(data[size - 1]) & 0xC0) != 0xC0);
}

} // namespace

QString TVXSourceReader::DecodeWindows1252(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        const char16_t mapped = byte >= 0x80 && byte <= 0x9F ? Windows1252High[byte - 0x80] : 0;
        out[i] = mapped ? mapped : char16_t(byte);
    }
    return text;
}

TVXSourceReader::TVXSourceReader(const QString &fileName)
    : m_file(fileName)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw TVXException(QStringLiteral("cannot read the source file ") + fileName
                           + QStringLiteral(": ") + m_file.errorString());
    m_size = m_file.size();
    if (m_size > 0) {
        m_data = reinterpret_cast<const char *>(m_file.map(0, m_size));
        if (!m_data)
            throw TVXException(QStringLiteral("cannot read the source file ") + fileName
                               + QStringLiteral(": ") + m_file.errorString());
    }
    if (m_size > 0 && std::memchr(m_data, 0, size_t(m_size)))
        throw TVXException(QStringLiteral("the source file is binary (it holds NUL bytes): ")
                           + fileName);
    m_utf8 = IsValidUtf8(m_data, m_size);
}

TVXSourceReader::~TVXSourceReader() = default;

bool TVXSourceReader::ReadRow(QString &row)
{
    if (m_position >= m_size)
        return false;
    const char *start = m_data + m_position;
    const qint64 left = m_size - m_position;
    const void *newline = std::memchr(start, '\n', size_t(left));
    qint64 length = newline ? static_cast<const char *>(newline) - start : left;
    m_position += newline ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r')
        --length;
    row = m_utf8 ? QString::fromUtf8(start, length) : DecodeWindows1252(start, length);
    return true;
}
