#include "app/lctreeexpansion.h"

#include "app/lctreemodel.h"

#include <QTreeView>

LCTreeExpansion::LCTreeExpansion(QTreeView &view, const LCTreeModel &model)
    : m_view(view)
    , m_model(model)
{
}

void LCTreeExpansion::save()
{
    m_open.clear();
    saveBelow(QModelIndex());
}

void LCTreeExpansion::restore() const
{
    restoreBelow(QModelIndex());
}

void LCTreeExpansion::open(const LCObject *object)
{
    m_open.insert(object);
}

void LCTreeExpansion::saveBelow(const QModelIndex &parent)
{
    for (int row = 0; row < m_model.rowCount(parent); ++row) {
        const QModelIndex item = m_model.index(row, 0, parent);
        if (m_view.isExpanded(item)) {
            m_open.insert(m_model.objectOf(item));
            saveBelow(item);
        }
    }
}

void LCTreeExpansion::restoreBelow(const QModelIndex &parent) const
{
    for (int row = 0; row < m_model.rowCount(parent); ++row) {
        const QModelIndex item = m_model.index(row, 0, parent);
        if (m_open.contains(m_model.objectOf(item))) {
            m_view.expand(item);
            restoreBelow(item);
        }
    }
}
