#include "grids/lcpanelinfomodel.h"

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"

#include <optional>

namespace
{
constexpr int kRowCount = 7;
constexpr int kSlottedRowCount = 12;
constexpr int kDecimalBase = 10;
constexpr int kNoCard = 0;

// What the card quantity fields hold. Types 1 to 4 take up to 32 loop and communication cards;
// the type with option slots has fixed limits per card.
constexpr int kMaxCards = 32;
constexpr int kMaxSlottedLoopCards = 3;
constexpr int kMaxZcpCards = 8;
constexpr int kMaxMainCards = 1;
constexpr int kMaxCanCards = 2;
constexpr int kMaxModbusCards = 1;

// One loop card drives two loops.
constexpr int kLoopsPerLoopCard = 2;

// A quantity as the editors send it: a whole number, or a text of nothing but one.
std::optional<int> wholeNumber(const QVariant &value)
{
    bool ok = false;
    int number = 0;
    switch (value.userType()) {
    case QMetaType::QString:
        number = value.toString().toInt(&ok, kDecimalBase);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        number = value.toInt(&ok);
        break;
    default:
        break;
    }
    return ok ? std::optional<int>(number) : std::nullopt;
}
} // namespace

LCPanelInfoModel::LCPanelInfoModel(QObject *parent)
    : LCTableModel(parent)
    , m_names({tr("Panel Name"), tr("Panel ID"), tr("Panel Type"), tr("Loop Qty"),
          tr("Loop Card QTY"), tr("Communication Card QTY"), tr("Description")})
    , m_slottedNames({tr("Panel Name"), tr("Panel ID"), tr("Panel Type"), tr("Loop Qty"),
          tr("Loop Card QTY"), tr("ZCP Card QTY"), tr("Main Card QTY"), tr("CAN Card QTY"),
          tr("Modbus Card QTY"), tr("S1"), tr("S2"), tr("Description")})
{
}

void LCPanelInfoModel::setController(LCObject *panel)
{
    beginResetModel();
    m_panel = panel && panel->kind() == ObjectKind::Controller ? static_cast<LCController *>(panel)
                                                               : nullptr;
    endResetModel();
}

QStringList LCPanelInfoModel::choices(int row) const
{
    if (hasSlots() && (row == kRowSlot1 || row == kRowSlot2)) {
        return {tr("Optical Card"), tr("Hyper Network"), tr("None")};
    }
    QStringList texts;
    const int maximum = maximumQuantity(row);
    for (int quantity = 0; quantity <= maximum; ++quantity) {
        texts << QString::number(quantity);
    }
    return texts;
}

bool LCPanelInfoModel::isTextRow(int row) const
{
    return m_panel && row == (hasSlots() ? kRowSlottedDescription : kRowDescription);
}

int LCPanelInfoModel::getRowCount() const
{
    return hasSlots() ? kSlottedRowCount : kRowCount;
}

int LCPanelInfoModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCPanelInfoModel::isCellEditable(int row, int col) const
{
    return col == int(Column::Value) && row >= kRowLoopCards && row < getRowCount();
}

QVariant LCPanelInfoModel::cellText(int row, int col) const
{
    if (!m_panel || row < 0 || row >= getRowCount()) {
        return {};
    }
    if (col == int(Column::Name)) {
        return (hasSlots() ? m_slottedNames : m_names).value(row);
    }
    if (col != int(Column::Value)) {
        return {};
    }
    const auto number = [this](PropertyId id) {
        return QString::number(m_panel->property(id).toInt());
    };
    const QString typeName = LCDataStore::instance()->panelTypes().value(
        m_panel->property(PropertyId::PanelType).toInt());
    switch (row) {
    case kRowPanelName:
        return QStringLiteral("%1-%2").arg(number(PropertyId::Panelid), typeName);
    case kRowPanelId:
        return number(PropertyId::Panelid);
    case kRowPanelType:
        return typeName;
    case kRowLoopCount:
        return QString::number(m_panel->childCount());
    case kRowLoopCards:
        return number(PropertyId::LoopCardCount);
    default:
        break;
    }
    if (!hasSlots()) {
        if (row == kRowCommCards) {
            return number(PropertyId::CommCount);
        }
        return m_panel->property(PropertyId::PanelNote).toString();
    }
    switch (row) {
    case kRowZcpCards:
        return number(PropertyId::ManualPanelCount);
    case kRowMainCards:
        return number(PropertyId::MainCardCount);
    case kRowCanCards:
        return number(PropertyId::CANCardCount);
    case kRowModbusCards:
        return number(PropertyId::ModbusCardCount);
    case kRowSlot1:
        return slotText(m_panel->property(PropertyId::Slot1CardType).toInt());
    case kRowSlot2:
        return slotText(m_panel->property(PropertyId::Slot2CardType).toInt());
    default:
        return m_panel->property(PropertyId::PanelNote).toString();
    }
}

bool LCPanelInfoModel::setCellData(int row, int col, const QVariant &value)
{
    if (col != int(Column::Value) || !m_panel) {
        // nothing to write: taken as it is
        return true;
    }
    if (row < kRowLoopCards || row >= getRowCount()) {
        return false;
    }
    if (isTextRow(row)) {
        writeProperty(*m_panel, PropertyId::PanelNote, value.toString());
        return true;
    }
    if (row == kRowSlot1 || row == kRowSlot2) {
        writeProperty(*m_panel, 
            row == kRowSlot1 ? PropertyId::Slot1CardType : PropertyId::Slot2CardType,
            slotCode(value.toString()));
        return true;
    }
    const std::optional<int> quantity = wholeNumber(value);
    if (!quantity || *quantity < 0 || *quantity > maximumQuantity(row)) {
        return false;
    }
    PropertyId id = PropertyId::LoopCardCount;
    switch (row) {
    case kRowLoopCards: {
        const int needed = (m_panel->childCount() + 1) / kLoopsPerLoopCard;
        if (needed > *quantity) {
            return false;
        }
        break;
    }
    case kRowCommCards: // also the ZCP cards of a slotted panel
        id = hasSlots() ? PropertyId::ManualPanelCount : PropertyId::CommCount;
        break;
    case kRowMainCards:
        id = PropertyId::MainCardCount;
        break;
    case kRowCanCards:
        id = PropertyId::CANCardCount;
        break;
    case kRowModbusCards:
        id = PropertyId::ModbusCardCount;
        break;
    default:
        return false;
    }
    writeProperty(*m_panel, id, *quantity);
    return true;
}

bool LCPanelInfoModel::hasSource() const
{
    return m_panel != nullptr;
}

bool LCPanelInfoModel::hasSlots() const
{
    return m_panel && m_panel->property(PropertyId::PanelType).toInt() == kPanelTypeWithSlots;
}

int LCPanelInfoModel::maximumQuantity(int row) const
{
    if (!m_panel) {
        return -1;
    }
    if (!hasSlots()) {
        return row == kRowLoopCards || row == kRowCommCards ? kMaxCards : -1;
    }
    switch (row) {
    case kRowLoopCards:
        return kMaxSlottedLoopCards;
    case kRowZcpCards:
        return kMaxZcpCards;
    case kRowMainCards:
        return kMaxMainCards;
    case kRowCanCards:
        return kMaxCanCards;
    case kRowModbusCards:
        return kMaxModbusCards;
    default:
        return -1;
    }
}

QString LCPanelInfoModel::slotText(int cardCode) const
{
    switch (cardCode) {
    case LCController::kOpticalCard:
        return tr("Optical Card");
    case LCController::kHyperNetworkCard:
        return tr("Hyper Network");
    default:
        return tr("None");
    }
}

int LCPanelInfoModel::slotCode(const QString &text) const
{
    if (text == tr("Optical Card")) {
        return LCController::kOpticalCard;
    }
    if (text == tr("Hyper Network")) {
        return LCController::kHyperNetworkCard;
    }
    return kNoCard;
}
