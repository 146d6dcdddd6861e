// SPDX-License-Identifier: GPL-3.0-or-later
#include "formpreview/Formshow.h"

#include "base/Exception.h"

#include "repository/Condition.h"
#include "repository/Dataaccessinterface.h"
#include "repository/Dataset.h"

#include <QLineEdit>

#include <memory>

namespace {

constexpr int VAG45Language = 20500;
constexpr int BMSLanguage = 20525;
// A field label declared in the map, and a word inside a quoted literal.
constexpr int FieldLabel = 1011;
constexpr int LiteralWord = 1001;
// Nothing after PICOUT is placed until the next keyword.
constexpr int AfterPicout = 10000;

bool Is(const QString &word, const char *keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

} // namespace

TVXFormShow::TVXFormShow(QWidget *owner, TVXDataAccessInterface *db, const TVXItem &item)
    : QWidget(owner, Qt::Window)
{
    resize(870, 640);
    QList<Word> words;
    {
        std::unique_ptr<TVXDataset> rows(db->GetBoundQuery(
                nullptr,
                TVXCondition(QStringLiteral("SELECT VXWord, VXWordType, VXRowID, VXLanguageID "
                                            "FROM VXWORD WHERE \n VXFileID = ? AND VXObjectID = "
                                            "?\n ORDER BY VXRowID, VXWordID"),
                             {item.FileID, item.ObjectID}),
                false));
        for (; rows && !rows->Eof(); rows->Next())
            words.append({rows->Value(0).toString().trimmed(), rows->Value(1).toInt(),
                          rows->Value(2).toInt(), rows->Value(3).toInt()});
    }
    const int language = words.isEmpty() ? 0 : words.first().Language;
    if (language == VAG45Language) {
        VAG45_BuildForm(words, db, item);
    } else if (language == BMSLanguage) {
        BMS_BuildForm(words);
    } else {
        QLineEdit *message = NewField();
        message->setGeometry(20, 80, width() - 50, RowHeight);
        PaintAsConstant(message);
        message->setText(QStringLiteral("FormViewer does not support this objects Language"));
    }
}

QList<QLineEdit *> TVXFormShow::Fields() const
{
    return m_fields;
}

QLineEdit *TVXFormShow::NewField()
{
    auto *field = new QLineEdit(this);
    field->setReadOnly(true);
    field->setGeometry(0, 0, 0, RowHeight);
    field->setVisible(true);
    m_fields << field;
    return field;
}

void TVXFormShow::HideIfEmpty(QLineEdit *field)
{
    if (field && field->text().isEmpty())
        field->hide();
}

void TVXFormShow::PaintAsConstant(QLineEdit *field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    field->setProperty("constant", true);
}

int TVXFormShow::Number(const Word &word)
{
    bool ok = false;
    const int value = word.Text.toInt(&ok);
    if (!ok)
        throw TVXException(QStringLiteral("FormViewer: \"") + word.Text
                           + QStringLiteral("\" in row %1 is not a number").arg(word.Row));
    return value;
}

void TVXFormShow::VAG45_BuildForm(const QList<Word> &words, TVXDataAccessInterface *db,
                                  const TVXItem &item)
{
    QLineEdit *field = nullptr;
    int i = 0;
    for (qsizetype at = 0; at < words.size(); ++at, ++i) {
        const Word &word = words[at];
        if (Is(word.Text, "row")) {
            HideIfEmpty(field);
            field = NewField();
            i = 0;
        } else if (Is(word.Text, "column") || Is(word.Text, "bytes") || Is(word.Text, "name")) {
            i = 0;
        }
        if (!field)
            continue;
        // The first value two words after a keyword fills the first of top, left and width
        // that is still zero.
        if (field->y() == 0 && i == 2) {
            field->move(field->x(), Number(word) * RowHeight);
        } else if (field->x() == 0 && i == 2) {
            field->move(Number(word) * ColumnWidth, field->y());
        } else if (field->width() == 0 && i == 2) {
            field->resize(Number(word) * ColumnWidth, RowHeight);
        } else if (field->text().isEmpty() && i == 2) {
            field->setText(word.Text);
            field->setToolTip(word.Text);
        } else if (field->text().isEmpty() && word.Text == QLatin1String(".") && i == 3) {
            // A constant field: its text is the source line after the point.
            PaintAsConstant(field);
            const int rows = db->GetTable(QStringLiteral("VXROW"));
            if (db->SelectBoundBegin(rows,
                                     TVXCondition(QStringLiteral("VXFileID = ? AND VXRowID = ?"),
                                                  {item.FileID, word.Row})))
                field->setText(db->GetFieldValue(rows, db->GetField(rows, QStringLiteral("VXRow")))
                                       .toString()
                                       .trimmed()
                                       .mid(1)
                                       .trimmed());
            while (at + 1 < words.size() && words[at + 1].Row == word.Row)
                ++at;
            // The first word of the next row is passed over as well.
            ++at;
        }
    }
    HideIfEmpty(field);
}

void TVXFormShow::BMS_BuildForm(const QList<Word> &words)
{
    QLineEdit *field = nullptr;
    QString pendingName;
    // The keyword that opened the clause: counted by position alone, the "(" of
    // POS=(line,column) stands where LENGTH's value does and would be read as a length.
    QString clause;
    int i = 0;
    for (qsizetype at = 0; at < words.size(); ++at, ++i) {
        const Word &word = words[at];
        if (word.Type == FieldLabel) {
            pendingName = word.Text;
        } else if (Is(word.Text, "DFHMDF")) {
            HideIfEmpty(field);
            field = NewField();
            if (!pendingName.isEmpty()) {
                field->setText(pendingName);
                field->setToolTip(pendingName);
            }
            i = 0;
            pendingName.clear();
            clause.clear();
        } else if (Is(word.Text, "POS") || Is(word.Text, "LENGTH") || Is(word.Text, "INITIAL")) {
            i = 0;
            clause = word.Text.toUpper();
        } else if (Is(word.Text, "PICOUT")) {
            i = AfterPicout;
            clause = word.Text.toUpper();
        }
        if (!field)
            continue;
        const bool position = clause == QLatin1String("POS");
        if (position && field->y() == 0 && i == 3) { // POS = ( line
            field->move(field->x(), Number(word) * RowHeight);
        } else if (position && field->x() == 0 && i == 5) { // , column
            field->move(Number(word) * ColumnWidth, field->y());
        } else if (clause == QLatin1String("LENGTH") && field->width() == 0
                   && i == 2) { // LENGTH = n
            field->resize(Number(word) * ColumnWidth, RowHeight);
        } else if (i < AfterPicout && word.Type == LiteralWord) {
            if (field->toolTip().isEmpty())
                PaintAsConstant(field);
            if (field->text() == field->toolTip())
                field->clear();
            QString text = field->text();
            for (; at < words.size() && words[at].Type == LiteralWord; ++at)
                if (words[at].Text != QLatin1String("'"))
                    text += QLatin1Char(' ') + words[at].Text;
            field->setText(text);
            // The record that ended the literal is read next: here both quotes belong to the
            // literal, so that record is the next clause or the next field's DFHMDF.
            --at;
        }
    }
    HideIfEmpty(field);
}
