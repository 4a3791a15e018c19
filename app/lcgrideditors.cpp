#include "app/lcgrideditors.h"

#include "definitions/lcdatastore.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcicons.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lcloop.h"

#include <QHeaderView>

namespace
{
using Kind = LCItemDelegate::EditorKind;

// device grid columns and their widths
constexpr int kDeviceLengthColumn = 1;
constexpr int kDeviceTypeColumn = 2;
constexpr int kSubTypeColumn = 3;
constexpr int kCableTypeColumn = 4;
constexpr int kDeviceColumnWidths[] = {120, 200, 140, 140, 100};

// widths of the other grids
constexpr int kRecordColumnWidths[] = {200, 200};
constexpr int kLoopColumnWidths[] = {80, 80, 130, 130, 140};
constexpr int kFirstLengthColumn = 2;
constexpr int kLastLengthColumn = 3;
constexpr int kProjectRows = 10;
// panel grid rows with editors, for the small panels and for type 5
constexpr int kLoopCardRow = 4;
constexpr int kSecondCardRow = 5;
constexpr int kSmallPanelNoteRow = 6;
constexpr int kMainCardRow = 6;
constexpr int kCanCardRow = 7;
constexpr int kModbusCardRow = 8;
constexpr int kSlot1Row = 9;
constexpr int kSlot2Row = 10;
constexpr int kLargePanelNoteRow = 11;
constexpr int kLargePanelType = 5;
constexpr int kMaxSmallPanelCards = 32;
constexpr int kMaxLargePanelLoopCards = 3;
constexpr int kMaxZcpCards = 8;
constexpr int kMaxCanCards = 2;

// "0", "1", ... up to last
QStringList quantities(int last)
{
    QStringList texts;
    for (int quantity = 0; quantity <= last; ++quantity) {
        texts << QString::number(quantity);
    }
    return texts;
}

// The widths are minimums: a header or a name wider than its column is not cut off, up to a
// width that leaves the other columns in reach.
template <std::size_t Columns>
void setColumnWidths(LCTableView &view, const int (&widths)[Columns])
{
    for (int column = 0; column < int(Columns); ++column) {
        view.fitColumn(column, widths[column]);
    }
}

void showHeaders(LCTableView &view, bool shown)
{
    view.horizontalHeader()->setVisible(shown);
    view.verticalHeader()->setVisible(shown);
    // tables of many rows take one value for many cells; records are edited field by field
    view.setMultiEdit(shown);
}
} // namespace

LCGridEditors::LCGridEditors(QObject *parent)
    : QObject(parent)
{
    for (int row = 0; row < kProjectRows; ++row) {
        m_projectText << new LCItemDelegate(Kind::Text, this);
    }
    m_panelNote = new LCItemDelegate(Kind::Text, this);
    const auto combo = [this](const QStringList &items) {
        auto *delegate = new LCItemDelegate(Kind::Combo, this);
        delegate->setItems(items, {});
        return delegate;
    };
    m_cardsUpTo32 = combo(quantities(kMaxSmallPanelCards));
    m_cardsUpTo3 = combo(quantities(kMaxLargePanelLoopCards));
    m_cardsUpTo8 = combo(quantities(kMaxZcpCards));
    m_cardsUpTo1 = combo(quantities(1));
    m_cardsUpTo2 = combo(quantities(kMaxCanCards));
    m_slotCard = combo({tr("Optical Card"), tr("Hyper Network"), tr("None")});
    m_firstLength = new LCItemDelegate(Kind::Integer, this);
    m_lastLength = new LCItemDelegate(Kind::Integer, this);
    m_deviceLength = new LCItemDelegate(Kind::Integer, this);
    m_deviceType = new LCItemDelegate(Kind::IconCombo, this);
    m_deviceType->setUseCompleter(true);
    m_subType = new LCItemDelegate(Kind::IconCombo, this);
    m_cableType = new LCItemDelegate(Kind::Combo, this);
    fillTypeLists();
    // the items must be in place before the editor is built
    connect(m_subType, &LCItemDelegate::sigCreateEditor, this, &LCGridEditors::fillSubTypes,
        Qt::DirectConnection);
}

void LCGridEditors::fillTypeLists()
{
    const LCDataStore *const store = LCDataStore::instance();
    QStringList names;
    QList<QIcon> icons;
    for (const DeviceType &type : store->deviceTypes()) {
        names << type.Name;
        icons << LCIcons::deviceIcon(type.IcoID);
    }
    m_deviceType->setItems(names, icons);
    names.clear();
    for (const WireType &type : store->wireTypes()) {
        names << type.Name;
    }
    m_cableType->setItems(names, {});
}

void LCGridEditors::fillSubTypes(const QModelIndex &index)
{
    const auto *const grid = qobject_cast<const LCDeviceModel *>(index.model());
    const LCObject *const device =
        grid && grid->loop() ? grid->loop()->child(index.row()) : nullptr;
    if (!device) {
        return;
    }
    const LCDataStore *const store = LCDataStore::instance();
    const QList<int> ids =
        store->deviceTypes().value(device->property(PropertyId::deviceTypeid).toInt()).SubType;
    const QMap<int, DevSubType> subTypes = store->subTypes();
    QStringList names;
    QList<QIcon> icons;
    for (const int id : ids) {
        // an unknown id gives the empty record, named "UNDEFINE" with the fallback picture
        const DevSubType subType = subTypes.value(id);
        names << subType.name;
        icons << LCIcons::subTypeIcon(subType.picture);
    }
    m_subType->setItems(names, icons);
}

void LCGridEditors::attach(LCTableView &view, const LCObject &object) const
{
    switch (object.kind()) {
    case ObjectKind::Project:
        attachProjectGrid(view);
        break;
    case ObjectKind::Controller:
        attachPanelGrid(view, object);
        break;
    case ObjectKind::Plain:
        attachLoopGrid(view);
        break;
    case ObjectKind::Loop:
        attachDeviceGrid(view);
        break;
    case ObjectKind::Device:
        break;
    }
}

void LCGridEditors::attachProjectGrid(LCTableView &view) const
{
    showHeaders(view, false);
    setColumnWidths(view, kRecordColumnWidths);
    for (int row = 0; row < m_projectText.size(); ++row) {
        view.setRowDelegate(row, m_projectText.at(row));
    }
}

void LCGridEditors::attachPanelGrid(LCTableView &view, const LCObject &panel) const
{
    showHeaders(view, false);
    setColumnWidths(view, kRecordColumnWidths);
    if (panel.property(PropertyId::PanelType).toInt() == kLargePanelType) {
        view.setRowDelegate(kLoopCardRow, m_cardsUpTo3);
        view.setRowDelegate(kSecondCardRow, m_cardsUpTo8);
        view.setRowDelegate(kMainCardRow, m_cardsUpTo1);
        view.setRowDelegate(kCanCardRow, m_cardsUpTo2);
        view.setRowDelegate(kModbusCardRow, m_cardsUpTo1);
        view.setRowDelegate(kSlot1Row, m_slotCard);
        view.setRowDelegate(kSlot2Row, m_slotCard);
        view.setRowDelegate(kLargePanelNoteRow, m_panelNote);
    } else {
        view.setRowDelegate(kLoopCardRow, m_cardsUpTo32);
        view.setRowDelegate(kSecondCardRow, m_cardsUpTo32);
        view.setRowDelegate(kSmallPanelNoteRow, m_panelNote);
    }
}

void LCGridEditors::attachLoopGrid(LCTableView &view) const
{
    showHeaders(view, true);
    setColumnWidths(view, kLoopColumnWidths);
    view.setColumnDelegate(kFirstLengthColumn, m_firstLength);
    view.setColumnDelegate(kLastLengthColumn, m_lastLength);
}

void LCGridEditors::attachDeviceGrid(LCTableView &view) const
{
    showHeaders(view, true);
    setColumnWidths(view, kDeviceColumnWidths);
    view.setColumnDelegate(kDeviceLengthColumn, m_deviceLength);
    view.setColumnDelegate(kDeviceTypeColumn, m_deviceType);
    view.setColumnDelegate(kSubTypeColumn, m_subType);
    view.setColumnDelegate(kCableTypeColumn, m_cableType);
}
