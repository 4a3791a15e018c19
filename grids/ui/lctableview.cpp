#include "grids/ui/lctableview.h"

#include "grids/ui/lcitemdelegate.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace
{
// Columns and rows from 0 below this number lose their delegates on clearDelegates().
constexpr int kClearedSections = 255;
// room for the cell's margins beside the measured text
constexpr int kTextMargin = 12;

bool allInOneColumn(const QModelIndexList &indexes)
{
    for (int i = 1; i < indexes.size(); ++i) {
        if (indexes.at(i - 1).column() != indexes.at(i).column()) {
            return false;
        }
    }
    return true;
}

// A tooltip that wraps a long text instead of running across the screen.
QString wrappedToolTip(const QString &text)
{
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped()
        + QStringLiteral("</p>");
}
} // namespace

LCTableView::LCTableView(QWidget *parent)
    : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    setTextElideMode(Qt::ElideRight);
}

void LCTableView::setMultiEdit(bool multiEdit)
{
    m_multiEdit = multiEdit;
}

void LCTableView::setModel(QAbstractItemModel *newModel)
{
    if (model()) {
        disconnect(model(), &QAbstractItemModel::dataChanged, this, &LCTableView::noteEditedCells);
    }
    m_editedColumns.clear();
    QTableView::setModel(newModel);
    if (newModel) {
        connect(newModel, &QAbstractItemModel::dataChanged, this, &LCTableView::noteEditedCells);
    }
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
    // also without a model: editors of a grid that was taken away must not reach the next one
    for (int column = 0; column < kClearedSections; ++column) {
        setItemDelegateForColumn(column, nullptr);
    }
    for (int row = 0; row < kClearedSections; ++row) {
        setItemDelegateForRow(row, nullptr);
    }
}

void LCTableView::fitColumn(int column, int minimum, bool grow)
{
    const int header =
        horizontalHeader()->isVisible() ? horizontalHeader()->sectionSizeHint(column) : 0;
    const int wanted = std::min(std::max({sizeHintForColumn(column), header, minimum}),
        std::max(minimum, kMaxFittedColumnWidth));
    setColumnWidth(column, grow ? std::max(wanted, columnWidth(column)) : wanted);
}

void LCTableView::noteEditedCells(
    const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid()) {
        return;
    }
    // a change of colour only leaves the texts, and so the widths, as they were
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole)) {
        return;
    }
    const bool first = m_editedColumns.isEmpty();
    for (int column = topLeft.column(); column <= bottomRight.column(); ++column) {
        m_editedColumns.insert(column);
    }
    // one fit after a multi-cell edit, not one per cell
    if (first) {
        QTimer::singleShot(0, this, &LCTableView::fitEditedColumns);
    }
}

void LCTableView::fitEditedColumns()
{
    const QSet<int> columns = m_editedColumns;
    m_editedColumns.clear();
    for (const int column : columns) {
        if (model() && column < model()->columnCount()) {
            fitColumn(column, 0, true);
        }
    }
}

void LCTableView::mouseReleaseEvent(QMouseEvent *event)
{
    // Shift and Ctrl clicks only extend or change the selection; the editor opens after a drag
    const bool extending = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (m_multiEdit && !extending && event->button() == Qt::LeftButton && selectionModel()) {
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

void LCTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    m_editJustEnded = true;
    QTimer::singleShot(0, this, [this] { m_editJustEnded = false; });
}

void LCTableView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !m_editJustEnded && state() != QAbstractItemView::EditingState
        && currentIndex().isValid() && (currentIndex().flags() & Qt::ItemIsEditable)) {
        edit(currentIndex());
        return;
    }
    QTableView::keyPressEvent(event);
}

bool LCTableView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip) {
        return QTableView::viewportEvent(event);
    }
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data(Qt::DisplayRole).toString();
    const int room = visualRect(index).width() - kTextMargin;
    // only a text the cell cuts short has anything more to show
    if (index.isValid()
        && (text.contains(QLatin1Char('\n'))
            || viewport()->fontMetrics().horizontalAdvance(text) > room)) {
        QToolTip::showText(help->globalPos(), wrappedToolTip(text), viewport(), visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}
