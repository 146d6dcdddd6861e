// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/Rowsaround.h"

#include "repository/Dataset.h"
#include "repository/Rulequeries.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

const QString Blanks = QStringLiteral("     ");
const QString BeginningOfFile = QStringLiteral("*** Beginning of File ***");
const QString MoreAbove = QStringLiteral("*** Press PageUp to see more Rows above ***");
const QString EndOfFile = QStringLiteral("*** End of File ***");
const QString MoreBelow = QStringLiteral("*** Press PageDown to see more Rows below ***");

} // namespace

TVXRowsAround::TVXRowsAround(QWidget *owner, const TVXItem &item, TVXDataAccessInterface *db)
    : QWidget(owner, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_item(item)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("Show Rows Around"));
    setObjectName(QStringLiteral("TVXRowsAround"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(703, 423);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mmoRows = new QPlainTextEdit;
    mmoRows->setObjectName(QStringLiteral("mmoRows"));
    mmoRows->setReadOnly(true);
    mmoRows->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoRows->setFont(QFont(QStringLiteral("Monospace")));
    mmoRows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoRows->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoRows->installEventFilter(this);
    layout->addWidget(mmoRows);
    FirstView();
}

void TVXRowsAround::FirstView()
{
    // The numbers of the rows shown, in order, and how many of them precede the hit.
    QList<int> shown;
    int before = 0;
    bool hitSeen = false;
    int after = 0;
    const std::unique_ptr<TVXDataset> rows
            = VXRuleQueries::FileRowsFrom(m_db, m_item.FileID, m_item.RowID - PageStep);
    for (; rows && !rows->Eof() && after < RowsShown; rows->Next()) {
        const int row = rows->Value(1).toInt();
        const QString text = rows->Value(2).toString();
        shown << row;
        // A line holding several statements is stored under its last one: the first line
        // at or after the hit's number is the hit's.
        if (!hitSeen && row >= m_item.RowID) {
            hitSeen = true;
            m_lines << QStringLiteral("---> ") + text;
        } else {
            m_lines << Blanks + text;
            ++(hitSeen ? after : before);
        }
    }
    for (; before > RowsShown; --before) {
        shown.removeFirst();
        m_lines.removeFirst();
    }
    m_firstRow = shown.isEmpty() ? 0 : shown.first();
    m_lastRow = shown.isEmpty() ? m_item.RowID : shown.last();
    AddBottomMarker();
    AddTopMarker();
    Show(false);
}

void TVXRowsAround::AddTopMarker()
{
    const bool beginning
            = m_firstRow == 0 || !VXRuleQueries::HasRowBefore(m_db, m_item.FileID, m_firstRow);
    m_lines.prepend(QString());
    m_lines.prepend(beginning ? BeginningOfFile : MoreAbove);
}

void TVXRowsAround::AddBottomMarker()
{
    m_lines << QString()
            << (VXRuleQueries::HasRowAfter(m_db, m_item.FileID, m_lastRow) ? MoreBelow : EndOfFile);
}

void TVXRowsAround::PageUp()
{
    m_lines.remove(0, std::min<qsizetype>(2, m_lines.size()));
    const QList<TVXSourceRow> rows
            = VXRuleQueries::FileRows(m_db, m_item.FileID, m_firstRow - PageStep, m_firstRow - 1);
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        m_lines.prepend(Blanks + rows[i].Text);
    if (!rows.isEmpty())
        m_firstRow = rows.first().Row;
    AddTopMarker();
    Show(false);
}

void TVXRowsAround::PageDown()
{
    m_lines.resize(std::max<qsizetype>(0, m_lines.size() - 2));
    const QList<TVXSourceRow> rows
            = VXRuleQueries::FileRows(m_db, m_item.FileID, m_lastRow + 1, m_lastRow + PageStep);
    for (const TVXSourceRow &row : rows)
        m_lines << Blanks + row.Text;
    if (!rows.isEmpty())
        m_lastRow = rows.last().Row;
    AddBottomMarker();
    Show(true);
}

void TVXRowsAround::Show(bool atEnd)
{
    mmoRows->setPlainText(m_lines.join(QLatin1Char('\n')));
    QScrollBar *bar = mmoRows->verticalScrollBar();
    bar->setValue(atEnd ? bar->maximum() : bar->minimum());
}

bool TVXRowsAround::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mmoRows && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_PageUp)
            PageUp();
        else if (key == Qt::Key_PageDown)
            PageDown();
    }
    return QWidget::eventFilter(watched, event);
}
