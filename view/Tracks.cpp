// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Tracks.h"

#include <QBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// What a tree item is: a folder, or the track of that number.
constexpr int FolderRole = Qt::UserRole;
constexpr int TrackRole = Qt::UserRole + 1;

bool IsFolder(const QTreeWidgetItem *item)
{
    return item && item->data(0, FolderRole).toBool();
}

} // namespace

TVXTracks::TVXTracks(QWidget *owner, const QStringList &trackNames,
                     std::function<void(int)> removeTrack)
    : QDialog(owner)
    , m_removeTrack(std::move(removeTrack))
{
    setWindowTitle(QStringLiteral("Tracks"));
    resize(420, 360);
    auto *layout = new QVBoxLayout(this);
    m_tree = new QTreeWidget;
    m_tree->setHeaderHidden(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_tree);
    auto *close = new QPushButton(QStringLiteral("Close"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("New Folder"), this, [this] {
            bool ok = false;
            const QString name = QInputDialog::getText(this, QStringLiteral("New Folder"),
                                                       QStringLiteral("Name:"), QLineEdit::Normal,
                                                       QString(), &ok);
            if (ok && !name.trimmed().isEmpty())
                NewFolder(name.trimmed());
        });
        menu.addAction(QStringLiteral("Delete Folder"), this, [this] { DeleteFolder(); })
                ->setEnabled(IsFolder(m_tree->currentItem())
                             && m_tree->currentItem()->parent() != nullptr);
        menu.addAction(QStringLiteral("Delete Track"), this, [this] {
                DeleteTrack();
            })->setEnabled(m_tree->currentItem() && !IsFolder(m_tree->currentItem()));
        menu.exec(m_tree->viewport()->mapToGlobal(at));
    });
    Fill(trackNames);
}

void TVXTracks::Fill(const QStringList &trackNames)
{
    m_tree->clear();
    auto *root = new QTreeWidgetItem(m_tree, {QStringLiteral("Tracks")});
    root->setData(0, FolderRole, true);
    for (int i = 0; i < trackNames.size(); ++i) {
        auto *track = new QTreeWidgetItem(root, {trackNames[i]});
        track->setData(0, TrackRole, i);
    }
    m_tree->expandAll();
    m_tree->setCurrentItem(root);
}

QTreeWidgetItem *TVXTracks::CurrentFolder() const
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item)
        return m_tree->topLevelItem(0);
    return IsFolder(item) ? item : item->parent();
}

void TVXTracks::NewFolder(const QString &name)
{
    auto *folder = new QTreeWidgetItem(CurrentFolder(), {name});
    folder->setData(0, FolderRole, true);
    m_tree->setCurrentItem(folder);
}

bool TVXTracks::DeleteFolder()
{
    QTreeWidgetItem *folder = m_tree->currentItem();
    if (!IsFolder(folder) || !folder->parent())
        return false;
    // Its tracks and folders move up; a folder holds nothing a track needs.
    QTreeWidgetItem *parent = folder->parent();
    const QList<QTreeWidgetItem *> children = folder->takeChildren();
    parent->addChildren(children);
    delete folder;
    m_tree->setCurrentItem(parent);
    return true;
}

bool TVXTracks::DeleteTrack()
{
    QTreeWidgetItem *track = m_tree->currentItem();
    if (!track || IsFolder(track))
        return false;
    const int number = track->data(0, TrackRole).toInt();
    delete track;
    // The View numbers its tracks again; so do the items that are left.
    QList<QTreeWidgetItem *> pending{m_tree->topLevelItem(0)};
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeFirst();
        for (int i = 0; i < item->childCount(); ++i)
            pending << item->child(i);
        if (!IsFolder(item) && item->data(0, TrackRole).toInt() > number)
            item->setData(0, TrackRole, item->data(0, TrackRole).toInt() - 1);
    }
    if (m_removeTrack)
        m_removeTrack(number);
    return true;
}
