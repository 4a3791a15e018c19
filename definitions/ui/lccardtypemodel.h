#pragma once

#include "definitions/cardtype.h"
#include "definitions/ui/lcdefinitiontable.h"

// The card types of the definitions dialog: a working copy of the library's user card types
// with their currents in mA, one row per type in ascending id order. The factory types come first
// and are read-only; the battery reads them by their fixed ids, which a new type never takes. The
// library sees the copy only on save().
class LCCardTypeModel : public LCDefinitionTable<CardType>
{
    Q_OBJECT

public:
    enum class Column : int {
        Name = 0,
        Current = 1,
        ActiveCurrent = 2,
    };

    explicit LCCardTypeModel(QObject *parent = nullptr);

    int getColumnCount() const override;
    QVariant horizontalHeaderText(int section) const override;

    // Appends a type named "UNDEFINED" with zero values and the next free id.
    void addRow();

private:
    QMap<int, CardType> libraryRecords() const override;
    QMap<int, CardType> factoryRecords() const override;
    void storeRecords(const QMap<int, CardType> &types) const override;
    QVariant columnText(const CardType &type, int col) const override;
    void parseColumn(CardType &type, int col, const QVariant &value) const override;
};
