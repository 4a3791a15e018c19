#include "gridsfixture.h"

#include "grids/lcdevicemodel.h"
#include "grids/lcloopmodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lcmodificationflag.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QComboBox>
#include <QCompleter>
#include <QIcon>
#include <QItemSelection>
#include <QLineEdit>
#include <QToolTip>
#include <QtTest>

#include <algorithm>

using namespace GridsFixture;

namespace
{
using DeviceColumn = LCDeviceModel::Column;
using LoopColumn = LCLoopModel::Column;
using PanelModel = LCPanelInfoModel;
using Id = PropertyId;
constexpr auto kReportFailures = QAbstractItemModelTester::FailureReportingMode::QtTest;

// A device after one on the trunk, and the row the grid shows for it.
struct DeviceCase {
    int truck, type, subType, cable, checkMark;
    bool relay;
    float metre;
    QString row;
    QColor background, text;
};
// An edit of a cell of the device, and the property it stores the value in.
struct DeviceEdit {
    DeviceColumn column;
    QVariant value;
    PropertyId property;
    double stored;
    bool taken, stale;
};
// An edit of the second loop; metre is the column's cable, the return cable for the others.
struct LoopEdit {
    LoopColumn column;
    QVariant value;
    bool accepted, written;
    float metre;
    QString shown;
};
// An edit of a value cell of a panel with one loop card and loops loops.
struct PanelEdit {
    int type, loops, row;
    QVariant value;
    bool accepted;
    PropertyId property;
    QVariant stored;
    QString shown;
};

// True when a dataChanged signal took in the cell.
bool told(const QSignalSpy &changed, const QModelIndex &cell)
{
    return std::any_of(changed.cbegin(), changed.cend(), [&cell](const QList<QVariant> &args) {
        return QItemSelectionRange(args.at(0).toModelIndex(), args.at(1).toModelIndex())
            .contains(cell);
    });
}

// The colour of a cell's icon; nothing for none.
QString iconColour(const QModelIndex &cell)
{
    const QIcon icon = cell.data(Qt::DecorationRole).value<QIcon>();
    return icon.isNull() ? QString() : icon.pixmap(16, 16).toImage().pixelColor(8, 8).name();
}

using Kind = LCItemDelegate::EditorKind;
using Cells = QList<QPair<int, int>>; // (row, column) pairs
constexpr int kReadOnlyColumn = 2;

// Four rows of three columns that record every write in order; the last column is read-only.
class RecordingModel : public LCTableModel
{
public:
    int getRowCount() const override { return 4; }
    int getColumnCount() const override { return 3; }
    bool isCellEditable(int, int col) const override { return col != kReadOnlyColumn; }
    QVariant cellText(int row, int col) const override { return cells.value({row, col}); }
    bool setCellData(int row, int col, const QVariant &value) override
    {
        written << qMakePair(row, col);
        values << value;
        return true;
    }
    bool hasSource() const override { return true; }

    QMap<QPair<int, int>, QVariant> cells;
    Cells written;
    QVariantList values;
};

// A shown grid with multi-edit, a combo box on column 1 and a text line on column 2.
struct Grid {
    Grid()
    {
        view.setModel(&model);
        combo.setItems({"A", "B", "C"}, {});
        view.setColumnDelegate(1, &combo);
        view.setColumnDelegate(kReadOnlyColumn, &line);
        view.setMultiEdit(true);
        view.show();
    }
    void select(const Cells &cells)
    {
        for (const auto &cell : cells) {
            view.selectionModel()->select(
                model.index(cell.first, cell.second), QItemSelectionModel::Select);
        }
    }
    template <typename Editor>
    Editor *editor(int row, int column) const
    {
        return qobject_cast<Editor *>(view.indexWidget(model.index(row, column)));
    }

    RecordingModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    LCItemDelegate combo{Kind::Combo};
    LCItemDelegate line{Kind::Text};
    LCTableView view;
};

} // namespace

Q_DECLARE_METATYPE(DeviceCase)
Q_DECLARE_METATYPE(DeviceEdit)
Q_DECLARE_METATYPE(LoopEdit)
Q_DECLARE_METATYPE(PanelEdit)

class TestGrids : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(useLibrary()); }
    void deviceCells_data();
    void deviceCells();
    void deviceGridShown();
    void deviceEdits_data();
    void deviceEdits();
    void loopRows();
    void loopEdits_data();
    void loopEdits();
    void panelRows_data();
    void panelRows();
    void panelEdits_data();
    void panelEdits();
    void oneEditForACellRun();
    void releaseOpensNothing_data();
    void releaseOpensNothing();
    void keysOpenTheEditor();
    void comboEditors();
    void comboEditorKept();
    void delegatesDetached();
    void elidedTextInToolTip();
};

void TestGrids::deviceCells_data()
{
    QTest::addColumn<DeviceCase>("device");
    const auto row = [](const char *name, const DeviceCase &c) { QTest::newRow(name) << c; };
    const QColor none, yellow(Qt::yellow), blue(Qt::blue), black(Qt::black);
    const QString smoke = "|Smoke*|Optical*|Thin*";
    row("trunk", {0, 1, 7, 1, -1, false, 12.4f, "Trunk|12*" + smoke, none, none});
    row("relay flag on the trunk",
        {0, 2, 11, 2, 1, true, 12.6f, "Trunk|13*|Sounder*|Wall*|Heavy*", none, none});
    row("relay on a branch, halves go up",
        {1, 1, 7, 1, 1, true, 2.5f, "Node1(Relay)|3*" + smoke, blue, yellow});
    row("unchecked on a branch", {1, 1, 7, 1, -1, false, 0.5f, "Node1|1*" + smoke, blue, yellow});
    row("failed on the trunk", {0, 1, 7, 1, 0, false, 1.0f, "Trunk|1*" + smoke, yellow, black});
    row("failed on a branch", {1, 1, 7, 1, 0, false, 1.0f, "Node1|1*" + smoke, yellow, black});
    // a file may name keys the library lacks: the grid says which
    row("unknown keys, negative half goes down",
        {0, 42, 42, 42, -1, false, -2.5f, "Trunk|-3*|Unknown type 42*|UNDEFINE*|Unknown type 42*",
            none, none});
}

void TestGrids::deviceCells()
{
    QFETCH(DeviceCase, device);
    auto panel = makePanel(1);
    LCLoop *const loop = addLoop(*panel, 1, {1, device.type});
    LCObject *const item = loop->child(1);
    item->storeProperty(PropertyId::truck, device.truck);
    item->storeProperty(PropertyId::Relay, device.relay);
    item->storeProperty(PropertyId::SubType, device.subType);
    item->storeProperty(PropertyId::CableType, device.cable);
    item->storeProperty(PropertyId::pos, device.metre);
    item->storeProperty(PropertyId::CheckMark, device.checkMark);
    LCDeviceModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    model.setLoop(loop);
    QCOMPARE(rows(model).at(1), device.row);
    QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), device.background);
    QCOMPARE(model.index(1, 0).data(Qt::ForegroundRole).value<QColor>(), device.text);
}

void TestGrids::deviceGridShown()
{
    auto panel = makePanel(1);
    // none of them has a sub type yet; the last keeps its own
    LCLoop *const loop = addLoop(*panel, 1, {1, 2, 3, 42, 1});
    loop->child(4)->storeProperty(PropertyId::SubType, 9);
    markCalculated(*loop);
    LCModificationFlag::clear();
    LCDeviceModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    // without a loop the headers stay
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(headers(model),
        QStringList({"Loop Topology", "Cable from Previous Device (m)", "Device Type", "Sub Type",
            "Cable Type"}));
    model.setLoop(loop);
    QCOMPARE(texts(model, int(DeviceColumn::SubType)),
        QStringList({"Optical", "Wall", "UNDEFINE", "UNDEFINE", "Heat"}));
    QVERIFY2(!LCModificationFlag::isSet(), "showing a loop is no edit");
    QVERIFY(!isStale(*loop));
    const QModelIndex cell = model.index(1, int(DeviceColumn::DeviceType));
    QCOMPARE(cell.data(Qt::TextAlignmentRole), QVariant(Qt::AlignCenter));
    // editors start from the shown text
    QVERIFY(!cell.data(Qt::EditRole).isValid());
    QVERIFY(!model.setData(cell, "Sounder", Qt::DisplayRole));
    // type 1 has icon 5 (red) and picture 07 (yellow); icon 6 and picture 11 have no file; a
    // type without an icon number, or unknown, has icon 0 (green); pictures fall back to 00 (blue)
    QStringList icons;
    for (int row = 0; row < 4; ++row) {
        icons << iconColour(model.index(row, int(DeviceColumn::DeviceType)))
                + iconColour(model.index(row, int(DeviceColumn::SubType)));
    }
    QCOMPARE(icons, QStringList({"#ff0000#ffff00", "#0000ff", "#00ff00#0000ff", "#00ff00#0000ff"}));
    // a panel is no loop
    model.setLoop(panel.get());
    QCOMPARE(model.rowCount(), 0);
}

void TestGrids::deviceEdits_data()
{
    // A value that does not fit its column is refused and the cell keeps what it had: one edit
    // may span several columns. The device: Smoke, Optical, Thin cable, 12.6 m from the
    // previous one, failed last time.
    QTest::addColumn<DeviceEdit>("edit");
    const auto row = [](const char *name, const DeviceEdit &c) { QTest::newRow(name) << c; };
    const auto length = DeviceColumn::CableLength, type = DeviceColumn::DeviceType;
    const auto sub = DeviceColumn::SubType, cable = DeviceColumn::CableType;
    const double before = double(12.6f);
    row("length", {length, 25, Id::pos, 25.0, true, true});
    row("length as text", {length, "30", Id::pos, 30.0, true, true});
    row("the shown 13 keeps 12.6", {length, 13, Id::pos, before, true, false});
    row("name in a length", {length, "Sounder", Id::pos, before, false, false});
    row("negative", {length, -3, Id::pos, before, false, false});
    row("beyond an int", {length, Q_INT64_C(4294967308), Id::pos, before, false, false});
    row("device type", {type, "Sounder", Id::deviceTypeid, 2.0, true, true});
    row("type names are exact", {type, "smoke", Id::deviceTypeid, 1.0, false, false});
    row("length in a type", {type, 12, Id::deviceTypeid, 1.0, false, false});
    row("sub type", {sub, "Heat", Id::SubType, 9.0, true, true});
    row("sub type of another type", {sub, "Wall", Id::SubType, 7.0, false, false});
    row("unknown sub type", {sub, "Red", Id::SubType, 7.0, false, false});
    row("cable type", {cable, "Heavy", Id::CableType, 2.0, true, true});
    row("no cable", {cable, "", Id::CableType, 1.0, false, false});
    row("topology is never typed", {DeviceColumn::Topology, "Node1", Id::truck, 0.0, false, false});
}

void TestGrids::deviceEdits()
{
    QFETCH(DeviceEdit, edit);
    auto panel = makePanel(1);
    LCLoop *const loop = addLoop(*panel, 1, {1}, {12.6f});
    LCObject *const device = loop->child(0);
    device->storeProperty(PropertyId::CheckMark, CheckMarkValue::Flagged);
    LCDeviceModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    model.setLoop(loop);
    markCalculated(*loop);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(0, int(edit.column));
    QCOMPARE(bool(cell.flags() & Qt::ItemIsEditable), edit.column != DeviceColumn::Topology);
    QCOMPARE(model.setData(cell, edit.value), edit.taken);
    QCOMPARE(device->property(edit.property).toDouble(), edit.stored);
    QCOMPARE(isStale(*loop), edit.stale);
    // the failed mark goes with the edit, and the whole row is drawn again without its colour
    QCOMPARE(cell.data(Qt::BackgroundRole).isValid(), !edit.stale);
    QCOMPARE(told(changed, model.index(0, 0)) && told(changed, model.index(0, 4)), edit.stale);
    // an undo has the grid read its cells again, the one row of this loop included
    changed.clear();
    model.refreshCells();
    QVERIFY(told(changed, model.index(0, 0)) && told(changed, model.index(0, 4)));
}

void TestGrids::loopRows()
{
    auto panel = makePanel(3);
    // added out of order: the grid lists loops by number
    addLoop(*panel, 3, {1, 1}, {12.6f, 10.3f}, 12.6f);
    addLoop(*panel, 1, {}, {}, 7.7f);
    addLoop(*panel, 2, {1}, {0.5f}, 12.5f);
    LCLoopModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    QCOMPARE(headers(model),
        QStringList({"Loop", "Device QTY", "1st Cable Length(m)", "Last Cable Length(m)",
            "Total Cable Length(m)"}));
    // the tree's "Loops" item stands for its panel
    model.setController(panel->loopsNode());
    QCOMPARE(model.controller(), panel.get());
    // the first length and the total are truncated, the last rounded; an empty loop is read-only
    QCOMPARE(
        rows(model), QStringList({"Loop1|0|0|8|7", "Loop2|1|0*|13*|13", "Loop3|2|12*|13*|35"}));
    QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
}

void TestGrids::loopEdits_data()
{
    // both the first device's cable and the return cable are 12.6 m; the first shows as 12
    QTest::addColumn<LoopEdit>("edit");
    const auto row = [](const char *name, const LoopEdit &c) { QTest::newRow(name) << c; };
    const auto first = LoopColumn::FirstCableLength, last = LoopColumn::LastCableLength;
    row("first: the shown 12 keeps 12.6", {first, 12, true, false, 12.6f, "12"});
    row("first: 14", {first, 14, true, true, 14.0f, "14"});
    row("first: longest run", {first, 10000, true, true, 10000.0f, "10000"});
    row("first: letters", {first, "abc", false, false, 12.6f, "12"});
    row("last: the shown 13 keeps 12.6", {last, 13, true, false, 12.6f, "13"});
    row("last: 12", {last, 12, true, true, 12.0f, "12"});
    row("last: whole double", {last, 0.0, true, true, 0.0f, "0"});
    row("last: fraction", {last, 12.5, false, false, 12.6f, "13"});
    row("last: beyond a loop", {last, 10001, false, false, 12.6f, "13"});
    row("device count", {LoopColumn::DeviceCount, 7, false, false, 12.6f, "2"});
    row("total", {LoopColumn::TotalCableLength, 7, false, false, 12.6f, "45"});
}

void TestGrids::loopEdits()
{
    QFETCH(LoopEdit, edit);
    auto panel = makePanel(3);
    addLoop(*panel, 1, {1}, {1.0f});
    LCLoop *const loop = addLoop(*panel, 2, {1, 1}, {12.6f, 20.0f}, 12.6f);
    LCLoopModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    model.setController(panel.get());
    markCalculated(*loop);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(1, int(edit.column));
    QCOMPARE(model.setData(cell, edit.value), edit.accepted);
    QCOMPARE(edit.column == LoopColumn::FirstCableLength
            ? loop->firstCableLength()
            : loop->property(PropertyId::LastDis).toFloat(),
        edit.metre);
    QCOMPARE(cell.data().toString(), edit.shown);
    QCOMPARE(isStale(*loop), edit.written);
    // the total follows both lengths
    QCOMPARE(told(changed, model.index(1, int(LoopColumn::TotalCableLength))), edit.written);
    QCOMPARE(model.index(1, int(LoopColumn::TotalCableLength)).data().toString(),
        QString::number(long(loop->totalCableLength())));
}

void TestGrids::panelRows_data()
{
    // name|value of each row, "*" marking an editable value; how many values each editor offers
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("choices");
    QTest::newRow("type 2") << QStringList{"Panel Name|7-Orvan-B20", "Panel ID|7",
        "Panel Type|Orvan-B20", "Loop Qty|2", "Loop Card QTY|1*", "Communication Card QTY|3*",
        "Description|Lobby*"}
                            << QList<int>{0, 0, 0, 0, 33, 33, 0};
    QTest::newRow("type with option slots") << QStringList{"Panel Name|7-Orvan-D50", "Panel ID|7",
        "Panel Type|Orvan-D50", "Loop Qty|2", "Loop Card QTY|1*", "ZCP Card QTY|8*",
        "Main Card QTY|1*", "CAN Card QTY|2*", "Modbus Card QTY|0*", "S1|Optical Card*", "S2|None*",
        "Description|Lobby*"} << QList<int>{0, 0, 0, 0, 4, 9, 2, 3, 2, 3, 3, 0};
}

void TestGrids::panelRows()
{
    QFETCH(QStringList, rows);
    auto panel = makePanel(rows.size() > 7 ? PanelModel::kPanelTypeWithSlots : 2, 7);
    addLoop(*panel, 1);
    addLoop(*panel, 2);
    panel->storeProperty(PropertyId::LoopCardCount, 1);
    panel->storeProperty(PropertyId::CommCount, 3);
    panel->storeProperty(PropertyId::ManualPanelCount, 8);
    panel->storeProperty(PropertyId::MainCardCount, 1);
    panel->storeProperty(PropertyId::CANCardCount, 2);
    panel->storeProperty(PropertyId::Slot1CardType, LCController::kOpticalCard);
    // a code from a file that is neither card
    panel->storeProperty(PropertyId::Slot2CardType, 13);
    panel->storeProperty(PropertyId::PanelNote, QStringLiteral("Lobby"));
    PanelModel model;
    QAbstractItemModelTester tester(&model, kReportFailures);
    model.setController(panel.get());
    QCOMPARE(::rows(model), rows);
    QList<int> choices;
    for (int row = 0; row < model.rowCount(); ++row) {
        choices << model.choices(row).size();
        QCOMPARE(model.isTextRow(row), row == model.rowCount() - 1);
    }
    QTEST(choices, "choices");
}

void TestGrids::panelEdits_data()
{
    QTest::addColumn<PanelEdit>("edit");
    const auto row = [](const char *name, const PanelEdit &c) { QTest::newRow(name) << c; };
    const int slotted = PanelModel::kPanelTypeWithSlots;
    const int loopCards = PanelModel::kRowLoopCards;
    const auto cards = Id::LoopCardCount;
    // two loops a card: five loops need three
    row("5 loops, 2 cards", {3, 5, loopCards, "2", false, cards, 1, "1"});
    row("5 loops, 3 cards", {3, 5, loopCards, "3", true, cards, 3, "3"});
    row("4 loops, 2 cards", {3, 4, loopCards, 2, true, cards, 2, "2"});
    row("option slots, 4 cards", {slotted, 0, loopCards, "4", false, cards, 1, "1"});
    row("32 comm cards", {1, 0, 5, "32", true, Id::CommCount, 32, "32"});
    row("33 comm cards", {1, 0, 5, "33", false, Id::CommCount, {}, "0"});
    row("comm negative", {1, 0, 5, -1, false, Id::CommCount, {}, "0"});
    row("ZCP 8", {slotted, 0, 5, "8", true, Id::ManualPanelCount, 8, "8"});
    row("main 1", {slotted, 0, 6, "1", true, Id::MainCardCount, 1, "1"});
    row("CAN 2", {slotted, 0, 7, "2", true, Id::CANCardCount, 2, "2"});
    row("Modbus 1", {slotted, 0, 8, "1", true, Id::ModbusCardCount, 1, "1"});
    const QString room = "  Plant room ";
    row("description as typed", {slotted, 0, 11, room, true, Id::PanelNote, room, room});
    row("row 6 of type 1 is the description", {1, 0, 6, "1", true, Id::PanelNote, "1", "1"});
    row("S1 optical", {slotted, 0, 9, "Optical Card", true, Id::Slot1CardType, 11, "Optical Card"});
    row("S2 anything else", {slotted, 0, 10, "optical card", true, Id::Slot2CardType, 0, "None"});
    row("loop count read-only", {1, 0, 3, "4", false, Id::Panelid, 1, "0"});
}

void TestGrids::panelEdits()
{
    QFETCH(PanelEdit, edit);
    auto panel = makePanel(edit.type);
    for (int loop = 1; loop <= edit.loops; ++loop) {
        addLoop(*panel, loop);
    }
    panel->storeProperty(PropertyId::LoopCardCount, 1);
    PanelModel model;
    model.setController(panel.get());
    LCModificationFlag::clear();
    const QModelIndex cell = model.index(edit.row, int(PanelModel::Column::Value));
    QCOMPARE(model.setData(cell, edit.value), edit.accepted);
    QCOMPARE(panel->property(edit.property), edit.stored);
    QCOMPARE(cell.data().toString(), edit.shown);
    // a write goes through the property map, which marks the project changed
    QCOMPARE(LCModificationFlag::isSet(), edit.accepted);
}

void TestGrids::oneEditForACellRun()
{
    Grid grid;
    grid.select({{3, 1}, {0, 1}, {2, 1}});
    const QPoint last = grid.view.visualRect(grid.model.index(2, 1)).center();
    QTest::mouseRelease(grid.view.viewport(), Qt::LeftButton, {}, last);
    auto *const editor = grid.editor<QComboBox>(2, 1);
    QVERIFY2(editor, "the last selected cell is edited");
    QVERIFY(grid.model.written.isEmpty());
    // a pick goes into every selected cell and ends the edit
    editor->setCurrentIndex(2);
    emit editor->activated(2);
    QCOMPARE(grid.model.written, (Cells{{3, 1}, {0, 1}, {2, 1}}));
    QCOMPARE(grid.model.values, QVariantList({"C", "C", "C"}));
    QVERIFY(!grid.editor<QComboBox>(2, 1));
    // a number editor takes digits only and gives a number, to every selected cell as well
    LCItemDelegate number(Kind::Integer);
    grid.view.setColumnDelegate(0, &number);
    grid.view.clearSelection();
    grid.select({{0, 0}, {1, 0}});
    grid.view.edit(grid.model.index(1, 0));
    QTest::keyClicks(grid.editor<QLineEdit>(1, 0), QStringLiteral("1a2"));
    QTest::keyClick(grid.editor<QLineEdit>(1, 0), Qt::Key_Return);
    QCOMPARE(grid.model.written.mid(3), (Cells{{0, 0}, {1, 0}}));
    QCOMPARE(grid.model.values.mid(3), QVariantList({12, 12}));
}

void TestGrids::releaseOpensNothing_data()
{
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<bool>("multiEdit");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    const Cells run = {{0, 1}, {1, 1}};
    const int left = Qt::LeftButton;
    QTest::newRow("two columns") << Cells{{0, 1}, {1, 1}, {2, 0}} << true << left << 0;
    QTest::newRow("read-only column") << Cells{{0, 2}, {1, 2}} << true << left << 0;
    QTest::newRow("multi-edit off") << run << false << left << 0;
    QTest::newRow("right button") << run << true << int(Qt::RightButton) << 0;
    QTest::newRow("one cell: a double click edits") << Cells{{0, 1}} << true << left << 0;
    QTest::newRow("shift-click extends") << run << true << left << int(Qt::ShiftModifier);
    QTest::newRow("ctrl-click adds") << run << true << left << int(Qt::ControlModifier);
}

void TestGrids::releaseOpensNothing()
{
    QFETCH(Cells, cells);
    QFETCH(bool, multiEdit);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    Grid grid;
    grid.view.setMultiEdit(multiEdit);
    grid.select(cells);
    const QModelIndex last = grid.model.index(cells.last().first, cells.last().second);
    QTest::mouseRelease(grid.view.viewport(), Qt::MouseButton(button),
        Qt::KeyboardModifiers(modifiers), grid.view.visualRect(last).center());
    QVERIFY(grid.view.viewport()->findChildren<QComboBox *>().isEmpty());
    QVERIFY(grid.view.viewport()->findChildren<QLineEdit *>().isEmpty());
}

void TestGrids::keysOpenTheEditor()
{
    // F2 and Enter edit the cell's text, typing replaces it
    for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Return, Qt::Key_X}) {
        Grid grid;
        grid.view.setColumnDelegate(0, &grid.line);
        grid.model.cells.insert({1, 0}, QStringLiteral("old"));
        grid.view.setFocus();
        grid.view.setCurrentIndex(grid.model.index(1, 0));
        QTest::keyClick(&grid.view, key);
        auto *const editor = grid.editor<QLineEdit>(1, 0);
        QVERIFY(editor);
        QCOMPARE(editor->text(), key == Qt::Key_X ? "x" : "old");
    }
}

void TestGrids::comboEditors()
{
    QWidget parent;
    // the owner fills the items for the cell when asked, before the box is built
    LCItemDelegate names(Kind::Combo);
    connect(&names, &LCItemDelegate::sigCreateEditor, this, [&names](const QModelIndex &) {
        names.setItems({"Thin", "Heavy", "heavy"}, {});
    });
    names.setUseCompleter(true);
    QSignalSpy commits(&names, &QAbstractItemDelegate::commitData);
    auto *const editor = qobject_cast<QComboBox *>(names.createEditor(&parent, {}, {}));
    QVERIFY(editor->isEditable());
    QCOMPARE(editor->insertPolicy(), QComboBox::NoInsert);
    // the entries are in id order, not sorted: every one that starts with the text is offered
    QCompleter *const completer = editor->completer();
    completer->setCompletionPrefix(QStringLiteral("h"));
    QCOMPARE(completer->completionCount(), 2);
    // the cell's own entry is shown without an edit, selected so that typing replaces it
    RecordingModel model;
    model.cells.insert({0, 1}, QStringLiteral("heavy"));
    names.setEditorData(editor, model.index(0, 1));
    QCOMPARE(editor->currentIndex(), 2);
    QCOMPARE(editor->lineEdit()->selectedText(), QStringLiteral("heavy"));
    QVERIFY(commits.isEmpty());
    // the lists are as wide as their longest entry however narrow the cell, once they show
    const QString longName(40, QLatin1Char('W'));
    disconnect(&names, &LCItemDelegate::sigCreateEditor, this, nullptr);
    names.setItems({"Thin", longName}, {});
    auto *const narrow = qobject_cast<QComboBox *>(names.createEditor(&parent, {}, {}));
    narrow->setFixedWidth(30);
    const int longest = narrow->fontMetrics().horizontalAdvance(longName);
    narrow->showPopup();
    QVERIFY(narrow->view()->minimumWidth() > longest);
    narrow->hidePopup();
    QTest::keyClicks(narrow->lineEdit(), QStringLiteral("W"));
    QVERIFY(narrow->completer()->popup()->minimumWidth() > longest);
}

void TestGrids::comboEditorKept()
{
    Grid grid;
    grid.combo.setUseCompleter(true);
    grid.model.cells.insert({0, 1}, QStringLiteral("A"));
    grid.model.cells.insert({1, 1}, QStringLiteral("C"));
    const auto openEditor = [&grid](int row) {
        grid.view.setCurrentIndex(grid.model.index(row, 1));
        grid.view.edit(grid.model.index(row, 1));
        return grid.editor<QComboBox>(row, 1);
    };
    QPointer<QComboBox> first = openEditor(0);
    QVERIFY(first);
    QTest::keyClicks(first->lineEdit(), QStringLiteral("B"));
    QTest::keyClick(first->lineEdit(), Qt::Key_Return);
    QCOMPARE(grid.model.values, QVariantList({"B"}));
    QVERIFY(!grid.editor<QComboBox>(0, 1));
    QVERIFY(first && !first->isVisible());
    // the next edit gets the same box, showing its own cell with nothing of the last edit
    QComboBox *const second = openEditor(1);
    QCOMPARE(second, first.data());
    QVERIFY(second->isVisible());
    QCOMPARE(second->currentText(), QStringLiteral("C"));
    QVERIFY(!second->lineEdit()->isUndoAvailable());
    QTest::keyClick(second->lineEdit(), Qt::Key_Escape);
    QCOMPARE(grid.model.values.size(), 1);
    // other items for the cell: a box that lists them
    grid.combo.setItems({"A", "B", "D"}, {});
    QComboBox *const third = openEditor(1);
    QVERIFY(third != first.data());
    QCOMPARE(third->itemText(2), QStringLiteral("D"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
}

void TestGrids::delegatesDetached()
{
    // editors of a grid taken away must not reach the next one, with or without a model shown
    LCTableView view;
    LCItemDelegate column(Kind::Text), row(Kind::Text), last(Kind::Text);
    view.setColumnDelegate(1, &column);
    view.clearDelegates();
    QVERIFY(!view.itemDelegateForColumn(1));
    RecordingModel model;
    view.setModel(&model);
    view.setRowDelegate(254, &row);
    view.setColumnDelegate(255, &last);
    QCOMPARE(row.view(), &view);
    view.clearDelegates();
    QVERIFY(!view.itemDelegateForRow(254));
    QCOMPARE(view.itemDelegateForColumn(255), &last);
}

void TestGrids::elidedTextInToolTip()
{
    Grid grid;
    const QString name = QStringLiteral("Smoke detector of the far end of the east wing");
    grid.model.cells.insert({0, 0}, name);
    grid.view.setColumnWidth(0, 40);
    const QPoint inside = grid.view.visualRect(grid.model.index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, inside, grid.view.viewport()->mapToGlobal(inside));
    QApplication::sendEvent(grid.view.viewport(), &help);
    QTRY_VERIFY(QToolTip::text().contains(name));
}

QTEST_MAIN(TestGrids)
#include "tst_grids.moc"
