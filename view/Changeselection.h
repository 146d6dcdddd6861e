// SPDX-License-Identifier: GPL-3.0-or-later
// Selects or deselects every node whose caption begins with a text.
#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QRadioButton;

class TVXChangeSelection : public QDialog
{
    Q_OBJECT
public:
    // apply(text, select) changes the View's selection.
    TVXChangeSelection(QWidget *owner, std::function<void(const QString &, bool)> apply);

    QLineEdit *TextBox() const { return m_text; }
    QRadioButton *SelectButton() const { return m_select; }
    void Apply();

private:
    std::function<void(const QString &, bool)> m_apply;
    QLineEdit *m_text = nullptr;
    QRadioButton *m_deselect = nullptr;
    QRadioButton *m_select = nullptr;
};
