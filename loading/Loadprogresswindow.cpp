// SPDX-License-Identifier: GPL-3.0-or-later
#include "loading/Loadprogresswindow.h"

#include "loading/Loadprogress.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TVXLoadProgressWindow::TVXLoadProgressWindow(TVXLoadProgress &progress, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_progress(progress)
    , m_lbProgress(new QListWidget(this))
    , m_cbClose(new QPushButton(tr("Close"), this))
{
    setWindowTitle(QStringLiteral("LoadProgress"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_lbProgress->setObjectName(QStringLiteral("lbProgress"));
    m_cbClose->setObjectName(QStringLiteral("cbClose"));
    QFont bold = m_lbProgress->font();
    bold.setBold(true);
    m_lbProgress->setFont(bold);
    m_cbClose->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lbProgress);
    layout->addWidget(m_cbClose, 0, Qt::AlignRight);
    resize(560, 360);

    connect(&m_progress, &TVXLoadProgress::LinesChanged, this, &TVXLoadProgressWindow::ShowLines);
    connect(&m_progress, &TVXLoadProgress::RunFinished, this,
            [this] { m_cbClose->setEnabled(true); });
    connect(m_cbClose, &QPushButton::clicked, this, &QWidget::close);
    ShowLines();
}

void TVXLoadProgressWindow::ShowLines()
{
    const QStringList &lines = m_progress.Lines();
    // Most reports change the last line only.
    while (m_lbProgress->count() > lines.size())
        delete m_lbProgress->takeItem(m_lbProgress->count() - 1);
    for (int i = 0; i < lines.size(); ++i) {
        if (i < m_lbProgress->count()) {
            if (m_lbProgress->item(i)->text() != lines[i])
                m_lbProgress->item(i)->setText(lines[i]);
        } else {
            m_lbProgress->addItem(lines[i]);
        }
    }
    m_lbProgress->scrollToBottom();
}
