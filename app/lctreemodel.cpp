#include "app/lctreemodel.h"

#include "model/lcobject.h"

namespace
{
// The tree shows one column; the root is always the single top item.
constexpr int kColumnCount = 1;
constexpr int kTopRow = 0;
constexpr int kTopColumn = 0;

QVariant itemAlignment()
{
    // Qt 5 views read the alignment role as an int
    return int(Qt::AlignLeft | Qt::AlignVCenter);
}
} // namespace

LCTreeModel::LCTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

void LCTreeModel::setRoot(LCObject *root)
{
    beginResetModel();
    m_root = root;
    endResetModel();
}

void LCTreeModel::refresh()
{
    beginResetModel();
    endResetModel();
}

void LCTreeModel::rootChanged()
{
    const QModelIndex top = rootIndex();
    if (top.isValid()) {
        emit dataChanged(top, top);
    }
}

LCObject *LCTreeModel::objectOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    return static_cast<LCObject *>(index.internalPointer());
}

QModelIndex LCTreeModel::rootIndex() const
{
    return m_root ? createIndex(kTopRow, kTopColumn, m_root) : QModelIndex();
}

QModelIndex LCTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!m_root) {
        return {};
    }
    if (!parent.isValid()) {
        // there is only one top item, so every question about the top level is about it
        return rootIndex();
    }
    // an index must stand for an object: rows the parent does not have get none
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    const LCObject *const parentObject = objectOf(parent);
    LCObject *const child = parentObject ? parentObject->child(row) : nullptr;
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex LCTreeModel::parent(const QModelIndex &index) const
{
    const LCObject *const object = objectOf(index);
    if (!m_root || !object || object == m_root) {
        return {};
    }
    LCObject *const parentObject = object->parent();
    if (parentObject == m_root) {
        return rootIndex();
    }
    const LCObject *const grandParent = parentObject ? parentObject->parent() : nullptr;
    const int row = grandParent ? grandParent->indexOf(parentObject) : -1;
    return row < 0 ? QModelIndex() : createIndex(row, kTopColumn, parentObject);
}

int LCTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!m_root) {
        return 0;
    }
    if (!parent.isValid()) {
        return 1;
    }
    const LCObject *const object = objectOf(parent);
    return object ? object->childCount() : 0;
}

int LCTreeModel::columnCount(const QModelIndex &) const
{
    return m_root ? kColumnCount : 0;
}

QVariant LCTreeModel::data(const QModelIndex &index, int role) const
{
    const LCObject *const object = m_root ? objectOf(index) : nullptr;
    if (!object) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return itemText(object);
    case Qt::DecorationRole:
        return itemIcon(object);
    case Qt::BackgroundRole:
        return itemBackground(object);
    case Qt::ForegroundRole:
        return itemForeground(object);
    case Qt::TextAlignmentRole:
        return itemAlignment();
    default:
        return {};
    }
}

QVariant LCTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_root) {
        return {};
    }
    const bool horizontal = orientation == Qt::Horizontal;
    switch (role) {
    case Qt::DisplayRole:
        return horizontal ? horizontalHeaderText(section) : verticalHeaderText(section);
    case Qt::DecorationRole:
        return horizontal ? horizontalHeaderIcon(section) : verticalHeaderIcon(section);
    case Qt::TextAlignmentRole:
        return itemAlignment();
    default:
        return {};
    }
}

bool LCTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    LCObject *const object = m_root ? objectOf(index) : nullptr;
    if (!object || role != Qt::EditRole) {
        return false;
    }
    const bool stored = setItemData(object, value);
    if (stored) {
        emit dataChanged(index, index);
        m_modified = true;
    }
    return stored;
}

Qt::ItemFlags LCTreeModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractItemModel::flags(index);
    const LCObject *const object = m_root ? objectOf(index) : nullptr;
    if (!object || !isItemValid(object)) {
        return result;
    }
    if (isItemEditable(object)) {
        result |= Qt::ItemIsEditable;
    }
    if (isItemDragEnabled(object)) {
        result |= Qt::ItemIsDragEnabled;
    }
    if (isItemDropEnabled(object)) {
        result |= Qt::ItemIsDropEnabled;
    }
    return result;
}

bool LCTreeModel::isItemValid(const LCObject *) const
{
    return true;
}

bool LCTreeModel::isItemEditable(const LCObject *) const
{
    return false;
}

bool LCTreeModel::isItemDragEnabled(const LCObject *) const
{
    return false;
}

bool LCTreeModel::isItemDropEnabled(const LCObject *) const
{
    return false;
}

QVariant LCTreeModel::horizontalHeaderText(int) const
{
    return {};
}

QVariant LCTreeModel::horizontalHeaderIcon(int) const
{
    return {};
}

QVariant LCTreeModel::verticalHeaderText(int) const
{
    return {};
}

QVariant LCTreeModel::verticalHeaderIcon(int) const
{
    return {};
}

QVariant LCTreeModel::itemText(const LCObject *) const
{
    return {};
}

QVariant LCTreeModel::itemBackground(const LCObject *) const
{
    return {};
}

QVariant LCTreeModel::itemForeground(const LCObject *) const
{
    return {};
}

QVariant LCTreeModel::itemIcon(const LCObject *) const
{
    return {};
}

bool LCTreeModel::setItemData(LCObject *, const QVariant &)
{
    return false;
}
