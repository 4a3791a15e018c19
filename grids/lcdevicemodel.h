#pragma once

#include "grids/lctablemodel.h"

#include <optional>

class LCLoop;
class LCObject;

// The devices of one loop, one row each in their order along the cable: where each sits in the
// loop's topology, its cable from the previous device, its device, sub and cable type. Rows are
// coloured by topology and by the last calculation. Edits go through the devices' property map,
// so every edit makes the loop's results stale.
class LCDeviceModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Topology = 0,
        CableLength = 1,
        DeviceType = 2,
        SubType = 3,
        CableType = 4,
    };
    static constexpr int kColumnCount = 5;

    explicit LCDeviceModel(QObject *parent = nullptr);

    // Shows the devices of loop and gives those without a sub type the default one of their
    // device type. Null, or an object that is not a loop, empties the grid.
    void setLoop(LCObject *loop);
    LCLoop *loop() const { return m_loop; }

    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant horizontalHeaderText(int section) const override;
    QVariant verticalHeaderText(int section) const override;
    QVariant cellText(int row, int col) const override;
    QVariant cellBackground(int row, int col) const override;
    QVariant cellForeground(int row, int col) const override;
    QVariant cellIcon(int row, int col) const override;
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

    // What the grid shows for a device or cable type id the library does not have.
    static QString unknownTypeText(int id);

private:
    // The id of the sub type named by value among those the device's type offers.
    static std::optional<int> subTypeOfDevice(const LCObject &item, const QVariant &value);
    LCObject *device(int row) const;
    QString topologyText(int row) const;

    LCLoop *m_loop = nullptr;
};
