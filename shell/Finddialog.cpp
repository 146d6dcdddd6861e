// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Finddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TVXFindDialog::TVXFindDialog(QWidget *owner, const TVXFindOptions &options,
                             std::function<void(const TVXFindOptions &)> findNext)
    : QDialog(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Find"));
    auto *layout = new QGridLayout(this);
    auto *text = new QLineEdit(options.Text);
    auto *matchCase = new QCheckBox(QStringLiteral("Match case"));
    matchCase->setChecked(options.MatchCase);
    auto *up = new QRadioButton(QStringLiteral("Up"));
    auto *down = new QRadioButton(QStringLiteral("Down"));
    (options.Up ? up : down)->setChecked(true);
    auto *next = new QPushButton(QStringLiteral("Find Next"));
    next->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    layout->addWidget(new QLabel(QStringLiteral("Find what:")), 0, 0);
    layout->addWidget(text, 0, 1, 1, 2);
    layout->addWidget(next, 0, 3);
    layout->addWidget(matchCase, 1, 0);
    layout->addWidget(up, 1, 1);
    layout->addWidget(down, 1, 2);
    layout->addWidget(cancel, 1, 3);
    connect(next, &QPushButton::clicked, this, [text, matchCase, up, findNext] {
        findNext({text->text(), matchCase->isChecked(), up->isChecked()});
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}
