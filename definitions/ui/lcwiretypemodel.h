#pragma once

#include "definitions/ui/lcdefinitiontable.h"
#include "definitions/wiretype.h"

// The cable types of the definitions dialog: a working copy of the library's user cable types,
// row r showing the type with id r + 1 (ids run 1, 2, 3, ... and stay so through adds and
// deletes). The factory types come first and are read-only. The library sees the copy only on
// save(). record() takes an id.
class LCWireTypeModel : public LCDefinitionTable<WireType>
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

    int getColumnCount() const override;
    QVariant horizontalHeaderText(int section) const override;

    // Appends a type named "UNDEFINED" with zero values as the next id.
    void addRow();

private:
    QMap<int, WireType> libraryRecords() const override;
    QMap<int, WireType> factoryRecords() const override;
    void storeRecords(const QMap<int, WireType> &types) const override;
    QVariant columnText(const WireType &type, int col) const override;
    void parseColumn(WireType &type, int col, const QVariant &value) const override;
};
