#pragma once

#include "definitions/devicetype.h"
#include "grids/lctablemodel.h"

#include <QMap>
#include <QModelIndexList>

// The device types of the definitions dialog: a working copy of the library's user device
// types, one row per type in ascending id order. The factory types come first and are read-only.
// The library sees the copy only on save().
class LCDevTypeModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Name = 0,
        Volt = 1,
        Current = 2,
        ActiveCurrent = 3,
    };

    explicit LCDevTypeModel(QObject *parent = nullptr);

    // Hands the working copy to the library, which marks its device types changed.
    void save() override;
    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant horizontalHeaderText(int section) const override;
    QVariant verticalHeaderText(int section) const override;
    QVariant cellText(int row, int col) const override;
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

    // Starts again from the library's user device types; the modified state stays.
    void reload();
    // Appends a type named "UNDEFINED" with zero values and the next free id.
    void addRow();
    // Deletes the row of the first selected cell, unless it is a factory row.
    void removeRow(const QModelIndexList &selected);
    // A copy of the type shown in row; an empty record for a row out of range.
    DeviceType record(int row) const;

private:
    QMap<int, DeviceType>::const_iterator rowIterator(int row) const;

    QMap<int, DeviceType> m_types;
};
