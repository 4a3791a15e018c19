#pragma once

#include <QTableView>

class LCItemDelegate;

// The grid view: editors open on double click only. With multi-edit on, releasing the left
// button over several selected cells of one column opens the editor of the last one, and the
// delegate then writes the value into all of them.
class LCTableView : public QTableView
{
    Q_OBJECT

public:
    explicit LCTableView(QWidget *parent = nullptr);

    bool multiEdit() const { return m_multiEdit; }
    void setMultiEdit(bool multiEdit);

    // Attach a delegate and let it write to this view's selection. The view does not own it.
    void setViewDelegate(LCItemDelegate *delegate);
    void setColumnDelegate(int column, LCItemDelegate *delegate);
    void setRowDelegate(int row, LCItemDelegate *delegate);
    // Detaches the column and row delegates before another model is shown.
    void clearDelegates();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_multiEdit = false;
};
