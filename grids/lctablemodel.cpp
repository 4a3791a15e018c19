#include "grids/lctablemodel.h"

#include "grids/lceditrecorder.h"
#include "model/lcobject.h"

#include <algorithm>

namespace
{
// Every cell and header of every grid is centred.
constexpr int kCellAlignment = Qt::AlignCenter;
} // namespace

LCTableModel::LCTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int LCTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !hasSource()) {
        return 0;
    }
    return getRowCount();
}

int LCTableModel::columnCount(const QModelIndex &parent) const
{
    // the headers stay when there is nothing to show
    return parent.isValid() ? 0 : getColumnCount();
}

QVariant LCTableModel::data(const QModelIndex &index, int role) const
{
    if (!hasSource() || !isShownCell(index)) {
        return {};
    }
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(row, col);
    case Qt::DecorationRole:
        return cellIcon(row, col);
    case Qt::TextAlignmentRole:
        return kCellAlignment;
    case Qt::BackgroundRole:
        return cellBackground(row, col);
    case Qt::ForegroundRole:
        return cellForeground(row, col);
    default:
        // editors start from the displayed text, so the edit role is not served
        return {};
    }
}

QVariant LCTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool horizontal = orientation == Qt::Horizontal;
    switch (role) {
    case Qt::DisplayRole:
        return horizontal ? horizontalHeaderText(section) : verticalHeaderText(section);
    case Qt::DecorationRole:
        return horizontal ? horizontalHeaderIcon(section) : verticalHeaderIcon(section);
    case Qt::TextAlignmentRole:
        return kCellAlignment;
    default:
        return {};
    }
}

Qt::ItemFlags LCTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (!hasSource() || !index.isValid() || !isCellValid(index.row(), index.column())) {
        return result;
    }
    const int row = index.row();
    const int col = index.column();
    if (isCellEditable(row, col)) {
        result |= Qt::ItemIsEditable;
    }
    if (isCellDragEnabled(row, col)) {
        result |= Qt::ItemIsDragEnabled;
    }
    if (isCellDropEnabled(row, col)) {
        result |= Qt::ItemIsDropEnabled;
    }
    return result;
}

bool LCTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !isShownCell(index)) {
        return false;
    }
    // a cell may write several values: for the user they are one step
    beginEdit(index.row(), index.column());
    const bool taken = setCellData(index.row(), index.column(), value);
    endEdit();
    if (!taken) {
        return false;
    }
    cellsChanged(index, index);
    m_modified = true;
    return true;
}

void LCTableModel::save()
{
    m_modified = false;
}

int LCTableModel::getRowCount() const
{
    return 0;
}

int LCTableModel::getColumnCount() const
{
    return 0;
}

bool LCTableModel::isCellValid(int, int) const
{
    return true;
}

bool LCTableModel::isCellEditable(int, int) const
{
    return false;
}

bool LCTableModel::isCellDragEnabled(int, int) const
{
    return false;
}

bool LCTableModel::isCellDropEnabled(int, int) const
{
    return false;
}

QVariant LCTableModel::horizontalHeaderText(int) const
{
    return {};
}

QVariant LCTableModel::horizontalHeaderIcon(int) const
{
    return {};
}

QVariant LCTableModel::verticalHeaderText(int) const
{
    return {};
}

QVariant LCTableModel::verticalHeaderIcon(int) const
{
    return {};
}

QVariant LCTableModel::cellText(int, int) const
{
    return {};
}

QVariant LCTableModel::cellBackground(int, int) const
{
    return {};
}

QVariant LCTableModel::cellForeground(int, int) const
{
    return {};
}

QVariant LCTableModel::cellIcon(int, int) const
{
    return {};
}

bool LCTableModel::setCellData(int, int, const QVariant &)
{
    return false;
}

bool LCTableModel::hasSource() const
{
    return false;
}

bool LCTableModel::isShownCell(const QModelIndex &index) const
{
    // quietly, unlike checkIndex: a view may still hold an index from before a refresh
    return index.isValid() && index.model() == this && index.row() < rowCount()
        && index.column() < columnCount();
}

void LCTableModel::refresh()
{
    beginResetModel();
    endResetModel();
}

void LCTableModel::refreshCells()
{
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void LCTableModel::beginEdit(int row, int col)
{
    // only the outermost edit names the step: the cells of a multi-cell edit join it
    const bool outermost = m_editDepth++ == 0;
    if (m_recorder) {
        m_recorder->beginStep(outermost ? editText(row, col) : QString());
    }
}

void LCTableModel::endEdit()
{
    if (m_recorder) {
        m_recorder->endStep();
    }
    if (m_editDepth > 0 && --m_editDepth == 0) {
        sendPendingChanges();
    }
}

void LCTableModel::cellsChanged(
    const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    if (m_editDepth == 0) {
        emit dataChanged(topLeft, bottomRight, roles);
        return;
    }
    for (PendingChange &pending : m_pendingChanges) {
        if (pending.roles == roles) {
            pending.top = std::min(pending.top, topLeft.row());
            pending.left = std::min(pending.left, topLeft.column());
            pending.bottom = std::max(pending.bottom, bottomRight.row());
            pending.right = std::max(pending.right, bottomRight.column());
            return;
        }
    }
    m_pendingChanges.push_back(
        {topLeft.row(), topLeft.column(), bottomRight.row(), bottomRight.column(), roles});
}

void LCTableModel::sendPendingChanges()
{
    const std::vector<PendingChange> pending = std::move(m_pendingChanges);
    m_pendingChanges.clear();
    // the rows may have gone while the edit ran
    const int lastRow = rowCount() - 1;
    const int lastColumn = columnCount() - 1;
    for (const PendingChange &change : pending) {
        const int bottom = std::min(change.bottom, lastRow);
        const int right = std::min(change.right, lastColumn);
        if (change.top <= bottom && change.left <= right) {
            emit dataChanged(index(change.top, change.left), index(bottom, right), change.roles);
        }
    }
}

QString LCTableModel::editText(int row, int col) const
{
    const QString header = horizontalHeaderText(col).toString();
    return tr("Edit %1").arg(header.isEmpty() ? cellText(row, 0).toString() : header);
}

void LCTableModel::writeProperty(LCObject &object, PropertyId id, const QVariant &value)
{
    if (m_recorder) {
        m_recorder->setProperty(object, id, value);
    } else {
        object.setProperty(id, value);
    }
}
