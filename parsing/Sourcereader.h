// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a source file row by row with its encoding decided once for the whole file.
#pragma once

#include "base/Export.h"

#include <QFile>
#include <QString>

#include <memory>

// A file that is valid UTF-8 is read as UTF-8, any other as Windows-1252; rows end with LF
// or CRLF, a last row needs no line end. A file holding NUL bytes is refused as binary.
// The file is mapped, not read into memory, so that a huge file costs no heap.
class VXCORE_EXPORT TVXSourceReader
{
public:
    // Throws TVXException naming the file when it cannot be opened or is binary.
    explicit TVXSourceReader(const QString &fileName);
    ~TVXSourceReader();
    TVXSourceReader(const TVXSourceReader &) = delete;
    TVXSourceReader &operator=(const TVXSourceReader &) = delete;

    bool ReadRow(QString &row);
    bool IsUtf8() const { return m_utf8; }
    qint64 Size() const { return m_size; }
    // Bytes consumed so far, for progress.
    qint64 Position() const { return m_position; }

    // Windows-1252 has printable characters where Latin-1 has C1 controls.
    static QString DecodeWindows1252(const char *data, qsizetype size);

private:
    QFile m_file;
    const char *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_position = 0;
    bool m_utf8 = true;
};
