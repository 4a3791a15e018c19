#include "../app/scriptedprompter.h"
#include "gridsfixture.h"

#include "grids/lcbatterycalculation.h"
#include "grids/ui/lcbatterydlg.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "model/lcproject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

using namespace GridsFixture;

namespace
{
// Single-precision sums of a few terms, against figures worked by hand.
constexpr double kToleranceAmpHour = 2e-5;
// type id and quantity of each device row of the battery
using DeviceRows = QList<QPair<int, int>>;
struct BatteryCase {
    int type, commCards, loopCards;
    DeviceRows devices;
    int missingCard;
    float standbyHours, alarmHours;
    double ampHour;
};
const QString kRequired = QStringLiteral("Required minimum battery capacity is : ");

template <typename T>
T *child(const QObject &parent, const char *name)
{
    T *const found = parent.findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no widget %s", name);
    }
    return found;
}

QString items(const QComboBox *combo)
{
    return rows(*combo->model(), false).join(QLatin1Char(','));
}

void setRows(QTableWidget *table, const QStringList &rows)
{
    table->setRowCount(rows.size());
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows.at(row).section('|', 0, 0)));
        table->setItem(row, 1, new QTableWidgetItem(rows.at(row).section('|', 1)));
    }
}

// Whether the battery dialog's table offers its menu; one that opens is closed at once.
bool menuOffered(LCBatteryDlg &dialog)
{
    bool offered = false;
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&offered]() {
        if (QWidget *const menu = QApplication::activePopupWidget()) {
            offered = true;
            menu->close();
        }
    });
    closer.start(0);
    dialog.slotViewContextMenu(QPoint());
    return offered;
}

struct BatteryRun {
    int panelType;
    QString standby;
    QStringList rows;
    QString result;
};
struct Refusal {
    QString alarm, standby, quantity, message, focus;
};

} // namespace

Q_DECLARE_METATYPE(BatteryType)
Q_DECLARE_METATYPE(BatteryCase)
Q_DECLARE_METATYPE(BatteryRun)
Q_DECLARE_METATYPE(Refusal)

class TestGridDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(useLibrary()); }
    void init() { m_prompter.shown.clear(); }
    void batteryCapacity_data();
    void batteryCapacity();
    void batteryRecommended();
    void batteryResult_data();
    void batteryResult();
    void batteryRefusals_data();
    void batteryRefusals();
    void batteryTypeRows();
    void panelDialog();

private:
    ScriptedPrompter m_prompter;
};

void TestGridDialogs::batteryCapacity_data()
{
    QTest::addColumn<BatteryCase>("battery");
    const auto row = [](const char *name, const BatteryCase &c) { QTest::newRow(name) << c; };
    // Types 1-4 count their own draw and their comm and loop cards, never the D50's cards:
    // ((0.27 + 0.06 + 0.10) x 24 + (1.92 + 0.06 + 0.10) x 0.5) x 1.25
    row("B20", {2, 1, 2, {}, 0, 24.0f, 0.5f, 14.2});
    row("B20X like the B20", {4, 1, 2, {}, 0, 24.0f, 0.5f, 14.2});
    // ((0.28 + 0.06 + 0.05) x 24 + (3.43 + 0.11) x 0.5) x 1.25
    row("A10", {1, 1, 1, {}, 0, 24.0f, 0.5f, 13.9125});
    // ((0.24 + 2 x 0.05 + 3 x 0.07) x 24 + (2.4 + 0.31) x 0.5) x 1.25
    row("C30", {3, 2, 3, {}, 0, 24.0f, 0.5f, 18.19375});
    row("no formula for type 0", {0, 1, 2, {{10, 4}}, 0, 24.0f, 0.5f, 0.0});
    // Devices on a B20 without cards, 1 h in alarm only: (1.92 + A) x 1.25. Ids 1-9 and 21
    // count a tenth of their alarm current.
    row("10 call points, id 5: 4 mA / 10 each", {2, 0, 0, {{5, 10}}, 0, 0.0f, 1.0f, 2.405});
    row("4 input modules, id 10: 2.5 mA each", {2, 0, 0, {{10, 4}}, 0, 0.0f, 1.0f, 2.4125});
    row("2 outdoor call points, id 21: 4.5 mA / 10", {2, 0, 0, {{21, 2}}, 0, 0.0f, 1.0f, 2.401125});
    row("negative quantity lowers nothing", {2, 0, 0, {{10, 4}, {10, -4}}, 0, 0.0f, 1.0f, 2.4125});
    // 10 x id 5, 4 x id 10, 2 x id 21 draw S = 4.5 mA in standby and A = 14.9 mA in alarm:
    // ((0.28 + 0.0045 + 0.05) x 24 + (3.43 + 0.0149 + 0.05) x 0.5) x 1.25
    const DeviceRows devices = {{5, 10}, {10, 4}, {21, 2}};
    row("A10 with devices", {1, 0, 1, devices, 0, 24.0f, 0.5f, 12.2193125});
    // The D50 with ZCP 2, main 1, CAN 1, Modbus 3, an optical and a hyper network card and 2
    // loop cards draws 617 mA in standby and 870 mA in alarm; comm cards do not count. An hour
    // with every card, then without the backlight (card 2), and the alarm outputs' 2500 mA:
    // 0.617 + (617 - 65) / 1000 x 71 + 0.870 x 1 + 1 x 2500 / 1000
    row("D50, 72 h, 1 h alarm", {5, 4, 2, {}, 0, 72.0f, 1.0f, 43.179});
    // devices in mA beside the cards: 0.6215 + 0.5565 x 23 + 0.2175 + 0.25 x 2514.9 / 1000
    row("D50 with devices", {5, 4, 2, devices, 0, 24.0f, 0.25f, 14.267225});
    // without card 2 it is neither counted nor taken off: 0.552 x 24 + 0.805 x 0.25 + 0.625
    row("D50 without card 2", {5, 4, 2, {}, 2, 24.0f, 0.25f, 14.07425});
}

void TestGridDialogs::batteryCapacity()
{
    QFETCH(BatteryCase, battery);
    const LCDataStore *const store = LCDataStore::instance();
    QMap<int, CardType> cardTypes = store->cardTypes();
    cardTypes.remove(battery.missingCard);
    LCBatteryCalculation calculation(store->deviceTypes(), cardTypes);
    for (const auto &row : battery.devices) {
        calculation.addDevices(row.first, row.second);
    }
    const auto panel = batteryPanel(battery.type);
    panel->storeProperty(PropertyId::LoopCardCount, battery.loopCards);
    panel->storeProperty(PropertyId::CommCount, battery.commCards);
    const float result = calculation.requiredAmpHour(
        LCBatteryCalculation::panelCards(*panel), battery.standbyHours, battery.alarmHours);
    QVERIFY2(std::abs(result - battery.ampHour) <= kToleranceAmpHour,
        qPrintable(QString::number(result, 'g', 9)));
}

void TestGridDialogs::batteryRecommended()
{
    // the smallest battery strictly above the need and below 255 Ah, the first of equals
    const auto named = [](const QList<BatteryType> &batteries, float required) {
        const auto found = LCBatteryCalculation::recommendedBattery(batteries, required);
        return found ? found->Name : QStringLiteral("none");
    };
    const QList<BatteryType> library =
        LCDataStore::instance()->batteryTypes(); // 7, 12, 12, 17, 300
    QCOMPARE(named(library, 7.0f), QStringLiteral("B12a"));
    QCOMPARE(named(library, 17.0f), QStringLiteral("none"));
    QCOMPARE(named({{"255", 255, {}}, {"254.5", 254.5f, {}}}, 200.0f), QStringLiteral("254.5"));
}

void TestGridDialogs::batteryResult_data()
{
    // one of the battery panels, the standby hours typed (null: as preset), the device rows as
    // the panel gives them or as put in, and the result after the capacity's first words
    QTest::addColumn<BatteryRun>("run");
    const auto row = [](const char *name, const BatteryRun &c) { QTest::newRow(name) << c; };
    const QString b17 = "Recommand battery type is B17(12V 17Ah, two in series)";
    const QString left =
        "\nRow %1 (\"%2\", quantity %3) is left out: its type is not in the library.";
    const QString none = "No battery type of the library below 255 Ah is larger than ";
    row("B20 worked example, 24 h and 0.5 h", {2, {}, {}, "14.2 Ah\n" + b17});
    // 0.0 is no 0: only the alarm term counts
    row("B20, standby 0.0", {2, "0.0", {}, "1.3 Ah\nRecommand battery type is B7(seven)"});
    // (0.43 x 556 + 1.04) x 1.25; the 300 Ah battery is too large to offer
    row("B20, 556 h", {2, "556.", {}, "300.15 Ah\n" + none + "300.15 Ah!"});
    // a placeholder without devices is no loss; a name holding "%1" stays as it is
    row("rows not in the library",
        {2, {}, {"UNDEFINED|0", "Smoke|0", "%1 Smoke|3", "smoke|1"},
            "14.2 Ah\n" + b17 + left.arg("3", "%1 Smoke", "3") + left.arg("4", "smoke", "1")});
    // rows per name by character code; S = 1.2 + 0.4 + 0.5 + 0.8 mA, A = 2 + 0.8 + 2.5 + 40 mA:
    // ((0.28 + 0.0029 + 0.06 + 0.05) x 24 + (3.43 + 0.0453 + 0.06 + 0.05) x 0.5) x 1.25
    row("A10 with devices",
        {1, {}, {"|1", "CallPoint|2", "InputModule|1", "Smoke|4", "alarmBell|2"},
            "14.0278 Ah\n" + b17 + left.arg("1", "", "1")});
    // the D50 takes its hours from the boxes (72 h and 0.25 h preset), never from the line
    row("D50, 24 h", {5, "24", {}, "14.1555 Ah\n" + b17});
    row("D50 as preset, the line blank", {5, "", {}, "40.6515 Ah\n" + none + "40.6515 Ah!"});
}

void TestGridDialogs::batteryResult()
{
    QFETCH(BatteryRun, run);
    const auto panel = batteryPanel(run.panelType);
    LCBatteryDlg dialog(panel.get(), m_prompter);
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    if (run.panelType == 1) {
        QCOMPARE(rows(*table->model(), false), run.rows);
    } else if (!run.rows.isEmpty()) {
        setRows(table, run.rows);
    }
    if (!run.standby.isNull()) {
        child<QLineEdit>(dialog, "standbyEdit")->setText(run.standby);
        child<QComboBox>(dialog, "standbyCombo")->setCurrentText(run.standby);
    }
    dialog.slotCalc();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(child<QTextEdit>(dialog, "resultView")->toPlainText(), kRequired + run.result);
}

void TestGridDialogs::batteryRefusals_data()
{
    QTest::addColumn<Refusal>("refusal"); // the quantity of the second of three rows
    const auto row = [](const char *name, const Refusal &c) { QTest::newRow(name) << c; };
    const QString quantity = "The device quantity in row 2 must be a whole number of 0 or more";
    const QString table = "deviceTable";
    row("alarm blank", {"", "24", "1", "The alarm time is blank", "alarmCombo"});
    row("alarm 0", {"0", "24", "1", "The alarm time can not be 0", "alarmCombo"});
    row("standby blank", {"0.5", "", "1", "The standby time is blank", "standbyEdit"});
    row("standby 0, times first",
        {"0.5", "0", "x", "The standby time can not be 0", "standbyEdit"});
    row("alarm 0.0 passes", {"0.0", "24", "1", "", ""});
    row("standby .0 passes", {"1.0", ".0", "1", "", ""});
    row("negative quantity", {"0.5", "24", "-3", quantity, table});
    row("fraction", {"0.5", "24", "2.5", quantity, table});
    row("blank quantity", {"0.5", "24", "", quantity, table});
    row("too large for a number", {"0.5", "24", "99999999999", quantity, table});
}

void TestGridDialogs::batteryRefusals()
{
    QFETCH(Refusal, refusal);
    const auto panel = batteryPanel(2);
    LCBatteryDlg dialog(panel.get(), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    setRows(table, {"Smoke|2", "InputModule|" + refusal.quantity, "CallPoint|1"});
    child<QComboBox>(dialog, "alarmCombo")->setEditText(refusal.alarm);
    child<QLineEdit>(dialog, "standbyEdit")->setText(refusal.standby);
    child<QPushButton>(dialog, "calculateButton")->setFocus();
    dialog.slotCalc();
    const QString result = child<QTextEdit>(dialog, "resultView")->toPlainText();
    if (refusal.message.isEmpty()) {
        QVERIFY(m_prompter.shown.isEmpty());
        QVERIFY(result.startsWith(kRequired));
        return;
    }
    QCOMPARE(m_prompter.shown, QStringList{"Information|" + refusal.message});
    QVERIFY(result.isEmpty());
    QCOMPARE(dialog.focusWidget()->objectName(), refusal.focus);
    if (refusal.focus == QLatin1String("deviceTable")) {
        QCOMPARE(table->currentIndex(), table->model()->index(1, 1));
    }
}

void TestGridDialogs::batteryTypeRows()
{
    auto panel = makePanel(2);
    addLoop(*panel, 1, {5});
    LCBatteryDlg dialog(panel.get(), m_prompter);
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    // "Add Type" is offered on the type of the last row, and on an empty table
    table->setCurrentCell(0, 1);
    QVERIFY(!menuOffered(dialog));
    table->setCurrentCell(0, 0);
    QVERIFY(menuOffered(dialog));
    dialog.slotAddType();
    QCOMPARE(rows(*table->model(), false), QStringList({"CallPoint|1", "UNDEFINED|0"}));
    dialog.slotAddType();
    QCOMPARE(m_prompter.shown, QStringList{"Information|Please fill type of current row!"});
    // every type of the library is offered, in id order; a pick names the row
    table->setCurrentCell(1, 0);
    table->edit(table->currentIndex());
    auto *const editor = table->viewport()->findChild<QComboBox *>();
    QVERIFY(editor);
    QCOMPARE(items(editor),
        QStringLiteral("Smoke,Sounder,Bare,CallPoint,InputModule,OutdoorCallPoint,alarmBell"));
    editor->setCurrentIndex(6);
    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("alarmBell"));
    dialog.slotAddType();
    QCOMPARE(table->rowCount(), 3);

    LCBatteryDlg withoutPanel(nullptr, m_prompter);
    QVERIFY(!child<QPushButton>(withoutPanel, "calculateButton")->isEnabled());
    QCOMPARE(child<QTableWidget>(withoutPanel, "deviceTable")->rowCount(), 0);
    QVERIFY(menuOffered(withoutPanel));
}

void TestGridDialogs::panelDialog()
{
    auto owned = std::make_unique<LCProject>();
    for (const int number : {1, 2, 4}) {
        owned->insertChild(makePanel(1, number));
    }
    LCProject *const project = owned.get();
    LCDataStore::instance()->setProject(std::move(owned));
    ScriptedPrompter prompter;
    LCControllerInfoDlg dialog(prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const auto combo = [&dialog](const QString &name) {
        return child<QComboBox>(dialog, qPrintable(name));
    };
    const auto chooseType = [&combo](int type) {
        combo("panelType")->setCurrentText(LCDataStore::instance()->panelTypes().value(type));
    };
    auto *const number = child<QSpinBox>(dialog, "panelNumber");
    // the first gap is proposed
    QCOMPARE(number->value(), 3);
    // the fields of the chosen type only, filled anew on every change
    chooseType(5);
    combo("zcpCards")->setCurrentText(QStringLiteral("4"));
    chooseType(1);
    QVERIFY(!child<QWidget>(dialog, "slotSection")->isVisible());
    QCOMPARE(items(combo("loopCards")) + " " + items(combo("commCards")), "1,2 1,2,3");
    chooseType(5);
    QVERIFY(!child<QWidget>(dialog, "commSection")->isVisible());
    QCOMPARE(
        items(combo("zcpCards")) + " " + combo("zcpCards")->currentText(), "0,1,2,3,4,5,6,7,8 0");
    QCOMPARE(items(combo("slot2")) + " " + combo("slot2")->currentText(),
        "Optical Card,Hyper Network,None None");
    const QStringList fields = {
        "loopCards", "zcpCards", "mainCards", "canCards", "modbusCards", "slot1", "slot2"};
    const QStringList chosen = {"3", "8", "1", "2", "1", "Optical Card", "Hyper Network"};
    for (int i = 0; i < fields.size(); ++i) {
        combo(fields.at(i))->setCurrentText(chosen.at(i));
    }
    // the first panel's number
    number->setValue(1);
    auto *const details = child<QLineEdit>(dialog, "panelDetails");
    details->setText(QStringLiteral("  Plant room\t"));
    details->setFocus();
    dialog.slotOk();
    QCOMPARE(prompter.shown, QStringList{"Information|Duplicate Panel No.!"});
    QCOMPARE(QApplication::focusWidget(), number);
    QCOMPARE(project->childCount(), 3);
    // typing beyond the range is refused while typing
    auto *const text = number->findChild<QLineEdit *>();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("251"));
    QCOMPARE(number->cleanText(), QStringLiteral("25"));
    // Ok reached while the box says nothing, though it still holds 25
    text->clear();
    dialog.slotOk();
    QCOMPARE(
        prompter.shown.last(), QStringLiteral("Information|Panel No. should be from 1 to 250!"));
    QCOMPARE(QApplication::focusWidget(), number);
    QCOMPARE(project->childCount(), 3);
    // Enter puts the box back to its number and takes the panel
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(project->child(3), dialog.createdPanel());
    QStringList stored;
    for (const PropertyId id : {PropertyId::Panelid, PropertyId::PanelType,
             PropertyId::LoopCardCount, PropertyId::CommCount, PropertyId::ManualPanelCount,
             PropertyId::MainCardCount, PropertyId::CANCardCount, PropertyId::ModbusCardCount,
             PropertyId::Slot1CardType, PropertyId::Slot2CardType, PropertyId::PanelNote}) {
        stored << dialog.createdPanel()->property(id).toString();
    }
    QCOMPARE(stored.join(','), QStringLiteral("25,5,3,0,8,1,2,1,11,12,Plant room"));
}

QTEST_MAIN(TestGridDialogs)
#include "tst_griddialogs.moc"
