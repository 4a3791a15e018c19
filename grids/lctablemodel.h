#pragma once

#include "model/lcpropertyid.h"

#include <QAbstractTableModel>

#include <vector>

class LCEditRecorder;
class LCObject;

// The base of every grid model. It answers Qt's model calls once and turns them into a few
// virtual questions about plain row and column numbers, which a grid model overrides as needed.
// A grid model without a source shows no rows but keeps its columns and headers.
class LCTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LCTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Only the edit role is served; a cell the grid model refuses stays as it was.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Marks the grid as unmodified; models that keep a working copy store it first.
    virtual void save();
    virtual int getRowCount() const;
    virtual int getColumnCount() const;
    virtual bool isCellValid(int row, int col) const;
    virtual bool isCellEditable(int row, int col) const;
    virtual bool isCellDragEnabled(int row, int col) const;
    virtual bool isCellDropEnabled(int row, int col) const;
    virtual QVariant horizontalHeaderText(int section) const;
    virtual QVariant horizontalHeaderIcon(int section) const;
    virtual QVariant verticalHeaderText(int section) const;
    virtual QVariant verticalHeaderIcon(int section) const;
    virtual QVariant cellText(int row, int col) const;
    virtual QVariant cellBackground(int row, int col) const;
    virtual QVariant cellForeground(int row, int col) const;
    virtual QVariant cellIcon(int row, int col) const;
    // True when the value was taken (stored, or deliberately left as it was).
    virtual bool setCellData(int row, int col, const QVariant &value);
    virtual bool hasSource() const;

    // Makes every attached view read rows, columns, headers and cells again, after the objects
    // behind the grid were changed elsewhere.
    void refresh();
    // Makes the views read every cell again, keeping rows, selection and hidden rows.
    void refreshCells();

    // Edits go to recorder (an undo stack) instead of straight to the objects; null for none.
    // Not owned.
    void setRecorder(LCEditRecorder *recorder) { m_recorder = recorder; }
    LCEditRecorder *recorder() const { return m_recorder; }
    // Everything written between these is one step for the recorder, named after the cell at
    // row and col (a multi-cell edit).
    void beginEdit(int row, int col);
    void endEdit();
    // "Edit" and the column's header, or the row's title in a grid without headers.
    virtual QString editText(int row, int col) const;
    // True once a cell was changed through setData since construction or the last save().
    bool isModified() const { return m_modified; }

protected:
    // For rows added or removed, which change the table without a cell edit.
    void setModified(bool modified) { m_modified = modified; }
    // Writes through the recorder when there is one, else straight into the object.
    void writeProperty(LCObject &object, PropertyId id, const QVariant &value);
    // Tells the views that cells changed. Inside an edit the notices are gathered and sent when
    // it ends, so a multi-cell edit repaints and refits its cells once, not once per cell.
    void cellsChanged(
        const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles = {});

private:
    // Cells changed during an edit, as one rectangle per set of roles.
    struct PendingChange {
        int top;
        int left;
        int bottom;
        int right;
        QVector<int> roles;
    };

    bool isShownCell(const QModelIndex &index) const;
    void sendPendingChanges();

    bool m_modified = false;
    LCEditRecorder *m_recorder = nullptr;
    int m_editDepth = 0;
    std::vector<PendingChange> m_pendingChanges;
};
