// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Windowchange.h"

#include "shell/Basefunctions.h"
#include "shell/Forminterface.h"

#include <QAction>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

TVXWindowChange::TVXWindowChange(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("Change Window"));
    auto *layout = new QVBoxLayout(this);
    lbWindowName = new QLabel(QStringLiteral("WindowName"));
    lbWindowName->setAlignment(Qt::AlignCenter);
    lbWindowName->setMinimumWidth(280);
    QFont font = lbWindowName->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    lbWindowName->setFont(font);
    layout->addWidget(lbWindowName);
    const auto *window = qobject_cast<const TVXFormInterface *>(owner);
    if (!window || !window->WindowMenu())
        return;
    const QString own = QStringLiteral("IP") + window->Identifier();
    for (QAction *item : window->WindowMenu()->actions())
        if (item->objectName().startsWith(QLatin1String("IP"))) {
            if (item->objectName() == own)
                m_at = int(m_items.size());
            m_items << item;
        }
    Advance();
}

QString TVXWindowChange::Shown() const
{
    return lbWindowName->text();
}

void TVXWindowChange::Advance()
{
    if (m_items.isEmpty())
        return;
    m_at = (m_at + 1) % int(m_items.size());
    lbWindowName->setText(m_items[m_at]->text());
}

void TVXWindowChange::Choose()
{
    if (m_service && m_at >= 0 && m_at < m_items.size())
        m_service->ActivateWindow(m_items[m_at]);
    accept();
}

void TVXWindowChange::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        Advance();
        return;
    }
    TVXToolDialog::keyPressEvent(event);
}

void TVXWindowChange::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control) {
        Choose();
        return;
    }
    TVXToolDialog::keyReleaseEvent(event);
}
