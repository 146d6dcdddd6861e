// SPDX-License-Identifier: GPL-3.0-or-later
// VMS (DEC, HP) COBOL. Sources come in two formats, chosen per file from its first row:
//   - ANSI format, the card of IBM COBOL (sequence numbers, indicator in column 7);
//   - terminal format, without sequence or identification columns: column 1 holds the
//     indicator when it is "*", "/" or "-", and otherwise begins area A.
// COPY names a text library member (COPY name OF library) or a file in a literal
// (COPY "DISK$USER:[LIB]CUSTREC.LIB").
#pragma once

#include "languages/cobol/Cobolfamily.h"

class TVXLangDef_VMSCOB : public TVXCobolFamily
{
    Q_OBJECT
public:
    TVXLangDef_VMSCOB(QObject *owner, const QString &folder);

protected:
    const TVXCobolCardLayout &Layout() const override;
    void OnNewFile() override;
    void OnNewRow(const QString &row) override;

private:
    enum class Format { Undecided, Ansi, Terminal };
    Format m_format = Format::Undecided;
    TVXCobolCardLayout m_terminal;
};
