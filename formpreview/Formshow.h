// SPDX-License-Identifier: GPL-3.0-or-later
// An approximate picture of a character screen that was loaded into the repository (a BMS
// map or a VisualAge Generator 4.5 map): the stored words of the object are replayed and
// each screen field becomes a read-only box where the map places it. The source file is
// not read again.
#pragma once

#include "base/Item.h"

#include <QVariantList>
#include <QWidget>

#include <functional>

class QLineEdit;
class TVXDataAccessInterface;

class TVXFormShow : public QWidget
{
    Q_OBJECT
public:
    using TVXClassBase = TVXFormShow;
    using TVXFactory = std::function<TVXFormShow *(QWidget *owner, TVXDataAccessInterface *db,
                                                   const TVXItem &item)>;

    // One screen row is this many pixels high, one column or byte of length this wide.
    static constexpr int RowHeight = 20;
    static constexpr int ColumnWidth = 10;

    // Builds the whole form; throws when a position or length is not a number.
    TVXFormShow(QWidget *owner, TVXDataAccessInterface *db, const TVXItem &item);

    // The boxes made, shown or hidden, in the order of the map.
    QList<QLineEdit *> Fields() const;

private:
    // One stored word: text, word type, row id, language id.
    struct Word
    {
        QString Text;
        int Type = 0;
        int Row = 0;
        int Language = 0;
    };
    void VAG45_BuildForm(const QList<Word> &words, TVXDataAccessInterface *db, const TVXItem &item);
    void BMS_BuildForm(const QList<Word> &words);
    QLineEdit *NewField();
    void HideIfEmpty(QLineEdit *field);
    static int Number(const Word &word);
    void PaintAsConstant(QLineEdit *field);

    QList<QLineEdit *> m_fields;
};
