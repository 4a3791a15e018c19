#include "grids/ui/lctableview.h"

#include "grids/ui/lcitemdelegate.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

namespace
{
// Columns and rows from 0 below this number lose their delegates on clearDelegates().
constexpr int kClearedSections = 255;

bool allInOneColumn(const QModelIndexList &indexes)
{
    for (int i = 1; i < indexes.size(); ++i) {
        if (indexes.at(i - 1).column() != indexes.at(i).column()) {
            return false;
        }
    }
    return true;
}
} // namespace

LCTableView::LCTableView(QWidget *parent)
    : QTableView(parent)
{
    // a single click selects, so a run of cells can be chosen for one edit
    setEditTriggers(QAbstractItemView::DoubleClicked);
}

void LCTableView::setMultiEdit(bool multiEdit)
{
    m_multiEdit = multiEdit;
}

void LCTableView::setViewDelegate(LCItemDelegate *delegate)
{
    setItemDelegate(delegate);
    if (delegate) {
        delegate->setView(this);
    }
}

void LCTableView::setColumnDelegate(int column, LCItemDelegate *delegate)
{
    setItemDelegateForColumn(column, delegate);
    if (delegate) {
        delegate->setView(this);
    }
}

void LCTableView::setRowDelegate(int row, LCItemDelegate *delegate)
{
    setItemDelegateForRow(row, delegate);
    if (delegate) {
        delegate->setView(this);
    }
}

void LCTableView::clearDelegates()
{
    if (!model()) {
        return;
    }
    for (int column = 0; column < kClearedSections; ++column) {
        setItemDelegateForColumn(column, nullptr);
    }
    for (int row = 0; row < kClearedSections; ++row) {
        setItemDelegateForRow(row, nullptr);
    }
}

void LCTableView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_multiEdit && event->button() == Qt::LeftButton && selectionModel()) {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        if (selected.size() > 1 && allInOneColumn(selected)) {
            const QModelIndex last = selected.last();
            if (last.model()->flags(last) & Qt::ItemIsEditable) {
                edit(last);
            }
        }
    }
    QTableView::mouseReleaseEvent(event);
}
