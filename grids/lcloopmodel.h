#pragma once

#include "grids/lctablemodel.h"
#include "grids/lcwholemetre.h"

class LCController;
class LCLoop;
class LCObject;

// The loops of one panel, one row each in ascending loop number: device count and cable
// lengths. The cable to the first device and the return cable of a loop that has devices can be
// edited here; the grid shows whole metres.
class LCLoopModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Loop = 0,
        DeviceCount = 1,
        FirstCableLength = 2,
        LastCableLength = 3,
        TotalCableLength = 4,
    };
    static constexpr int kColumnCount = 5;
    // No single cable run is longer than a whole loop may be.
    static constexpr int kMaxCableLengthMetre = LCWholeMetre::kMax;

    explicit LCLoopModel(QObject *parent = nullptr);

    // Shows the loops of panel. The panel's "Loops" item stands for its panel; null, or any
    // other object, empties the grid.
    void setController(LCObject *panel);
    LCController *controller() const { return m_panel; }

    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant horizontalHeaderText(int section) const override;
    QVariant verticalHeaderText(int section) const override;
    QVariant cellText(int row, int col) const override;
    // Takes a whole number of metres from 0 to kMaxCableLengthMetre (an int, or a text of
    // digits); anything else is refused. A value equal to the shown one keeps the exact length.
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

private:
    LCLoop *loop(int row) const;

    LCController *m_panel = nullptr;
};
