// SPDX-License-Identifier: GPL-3.0-or-later
// The tracks of a View in folders of the user's own ("Tracks"): folders are made and
// removed here, tracks removed. The folders last as long as the dialog; the View keeps the
// tracks.
#pragma once

#include <QDialog>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

class TVXTracks : public QDialog
{
    Q_OBJECT
public:
    // removeTrack(number) takes a track out of the View, which lists the rest again.
    TVXTracks(QWidget *owner, const QStringList &trackNames, std::function<void(int)> removeTrack);

    QTreeWidget *Tree() const { return m_tree; }
    // The popup commands, on the current item of the tree.
    void NewFolder(const QString &name);
    bool DeleteFolder();
    bool DeleteTrack();

private:
    void Fill(const QStringList &trackNames);
    QTreeWidgetItem *CurrentFolder() const;

    QTreeWidget *m_tree = nullptr;
    std::function<void(int)> m_removeTrack;
};
