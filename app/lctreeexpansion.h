#pragma once

#include <QSet>

class LCObject;
class LCTreeModel;
class QModelIndex;
class QTreeView;

// Remembers which objects of a project tree the user had opened, so a model reset after an
// edit does not close (or open) anything the user chose.
class LCTreeExpansion
{
public:
    LCTreeExpansion(QTreeView &view, const LCTreeModel &model);

    // Takes note of the objects whose items are open now.
    void save();
    // Opens the items of those objects again; objects that are gone are passed over.
    void restore() const;
    // An object whose item is to be open after restore(), such as one just added.
    void open(const LCObject *object);

private:
    void saveBelow(const QModelIndex &parent);
    void restoreBelow(const QModelIndex &parent) const;

    QTreeView &m_view;
    const LCTreeModel &m_model;
    QSet<const LCObject *> m_open;
};
