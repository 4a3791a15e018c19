#pragma once

#include "definitions/wiretype.h"
#include "grids/lctablemodel.h"

#include <QMap>
#include <QModelIndexList>

// The cable types of the definitions dialog: a working copy of the library's user cable types,
// row r showing the type with id r + 1 (ids run 1, 2, 3, ... and stay so through adds and
// deletes). The factory types come first and are read-only. The library sees the copy only on
// save().
class LCWireTypeModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Name = 0,
        Resistance = 1,
        Capacity = 2,
        Note = 3,
    };

    explicit LCWireTypeModel(QObject *parent = nullptr);

    // Hands the working copy to the library, which marks its cable types changed.
    void save() override;
    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant horizontalHeaderText(int section) const override;
    QVariant verticalHeaderText(int section) const override;
    QVariant cellText(int row, int col) const override;
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

    // Starts again from the library's user cable types; the modified state stays.
    void reload();
    // Appends a type named "UNDEFINED" with zero values as the next id.
    void addRow();
    // Deletes the row of the first selected cell, unless it is a factory type; the later types
    // move up one id.
    void removeRow(const QModelIndexList &selected);
    // A copy of the type with id; an empty record when there is none.
    WireType record(int id) const;

private:
    QMap<int, WireType> m_types;
};
