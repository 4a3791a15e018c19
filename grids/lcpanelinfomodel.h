#pragma once

#include "grids/lctablemodel.h"

#include <QStringList>

class LCController;
class LCObject;

// The details of one panel as a record: field names in column 0, values in column 1. Which
// fields there are depends on the panel type: the type with option slots has extension cards
// and two slots where the others have communication cards. Card quantities, slot cards and the
// description can be edited; a quantity must be one the panel can take.
class LCPanelInfoModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Name = 0,
        Value = 1,
    };
    // Rows every panel has.
    static constexpr int kRowPanelName = 0;
    static constexpr int kRowPanelId = 1;
    static constexpr int kRowPanelType = 2;
    static constexpr int kRowLoopCount = 3;
    static constexpr int kRowLoopCards = 4;
    // Panels of types 1 to 4.
    static constexpr int kRowCommCards = 5;
    static constexpr int kRowDescription = 6;
    // Panels of the type with option slots.
    static constexpr int kRowZcpCards = 5;
    static constexpr int kRowMainCards = 6;
    static constexpr int kRowCanCards = 7;
    static constexpr int kRowModbusCards = 8;
    static constexpr int kRowSlot1 = 9;
    static constexpr int kRowSlot2 = 10;
    static constexpr int kRowSlottedDescription = 11;

    static constexpr int kColumnCount = 2;
    static constexpr int kPanelTypeWithSlots = 5;

    explicit LCPanelInfoModel(QObject *parent = nullptr);

    // Shows panel; null, or an object that is not a panel, empties the grid.
    void setController(LCObject *panel);
    LCController *controller() const { return m_panel; }

    // The values the editor of a value cell offers: quantities as texts from "0" up to what the
    // field holds, or the three slot card texts. Empty for free text and read-only rows.
    QStringList choices(int row) const;
    // True for the rows edited as free text.
    bool isTextRow(int row) const;

    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant cellText(int row, int col) const override;
    // Edits of the name column are taken without change. A loop card quantity below what the
    // panel's loops need (two loops a card) is refused, as is a quantity that is no whole number
    // or beyond what the field holds.
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

private:
    bool hasSlots() const;
    // The highest quantity of a quantity row of the shown panel; -1 for other rows.
    int maximumQuantity(int row) const;
    QString slotText(int cardCode) const;
    int slotCode(const QString &text) const;

    LCController *m_panel = nullptr;
    const QStringList m_names;
    const QStringList m_slottedNames;
};
