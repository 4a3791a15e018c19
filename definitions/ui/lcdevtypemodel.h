#pragma once

#include "definitions/devicetype.h"
#include "definitions/ui/lcdefinitiontable.h"

// The device types of the definitions dialog: a working copy of the library's user device
// types, one row per type in ascending id order. The factory types come first and are read-only.
// The library sees the copy only on save().
class LCDevTypeModel : public LCDefinitionTable<DeviceType>
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

    int getColumnCount() const override;
    QVariant horizontalHeaderText(int section) const override;

    // Appends a type named "UNDEFINED" with zero values and the next free id.
    void addRow();

private:
    QMap<int, DeviceType> libraryRecords() const override;
    QMap<int, DeviceType> factoryRecords() const override;
    void storeRecords(const QMap<int, DeviceType> &types) const override;
    QVariant columnText(const DeviceType &type, int col) const override;
    void parseColumn(DeviceType &type, int col, const QVariant &value) const override;
    int highestIdInUse() const override;
};
