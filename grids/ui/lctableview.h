#pragma once

#include <QSet>
#include <QTableView>

class LCItemDelegate;

// The grid view. Editors open as in any item view (double click, F2, Enter, or typing over a
// cell). With multi-edit on, releasing the left button after dragging over several cells of
// one column opens the editor of the last one, and the delegate then writes the value into all
// of them. Columns grow to fit edited text up to a readable width; a cell whose text does not
// fit shows it elided, with the whole text in its tooltip.
class LCTableView : public QTableView
{
    Q_OBJECT

public:
    // No column is made wider than this to fit its text: longer texts are elided.
    static constexpr int kMaxFittedColumnWidth = 480;

    explicit LCTableView(QWidget *parent = nullptr);

    bool multiEdit() const { return m_multiEdit; }
    void setMultiEdit(bool multiEdit);

    void setModel(QAbstractItemModel *model) override;

    // Attach a delegate and let it write to this view's selection. The view does not own it.
    void setViewDelegate(LCItemDelegate *delegate);
    void setColumnDelegate(int column, LCItemDelegate *delegate);
    void setRowDelegate(int row, LCItemDelegate *delegate);
    // Detaches every column and row delegate, with or without a model shown.
    void clearDelegates();

    // Makes column as wide as its header and the texts on show need, never less than minimum
    // and never more than kMaxFittedColumnWidth (nor less than it already is when grow is set).
    void fitColumn(int column, int minimum, bool grow = false);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private slots:
    void noteEditedCells(
        const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles);
    void fitEditedColumns();

private:
    bool m_multiEdit = false;
    // the Enter that ended an edit is not one to start the next
    bool m_editJustEnded = false;
    QSet<int> m_editedColumns;
};
