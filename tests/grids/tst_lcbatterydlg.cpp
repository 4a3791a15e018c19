#include "../app/scriptedprompter.h"

#include "definitions/lcdatastore.h"
#include "grids/ui/lcbatterydlg.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <cmath>
#include <memory>

namespace
{
constexpr double kToleranceAmpHour = 2e-5;

// Factory definitions of the tests: device types whose names sort differently by case, the
// D50's cards, and batteries of 7, 12, 12 and 17 Ah plus one too large to be offered.
const char kDefaults[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Default>
  <DeviceType Name="Smoke" Volt="24" Current="0.3" ActiveCurrent="5" IcoID="1" DevID="1"/>
  <DeviceType Name="CallPoint" Volt="24" Current="0.2" ActiveCurrent="4" IcoID="5" DevID="5"/>
  <DeviceType Name="InputModule" Volt="24" Current="0.5" ActiveCurrent="2.5" IcoID="10" DevID="10"/>
  <DeviceType Name="OutdoorCallPoint" Volt="24" Current="0.25" ActiveCurrent="4.5" IcoID="21" DevID="21"/>
  <DeviceType Name="alarmBell" Volt="24" Current="0.4" ActiveCurrent="20" IcoID="30" DevID="30"/>
  <CardType Name="Power" Current="40" ActiveCurrent="55" CardID="1"/>
  <CardType Name="Backlight" Current="65" ActiveCurrent="65" CardID="2"/>
  <CardType Name="Display" Current="35" ActiveCurrent="45" CardID="3"/>
  <CardType Name="Control" Current="55" ActiveCurrent="70" CardID="4"/>
  <CardType Name="Led" Current="10" ActiveCurrent="45" CardID="5"/>
  <CardType Name="Zcp" Current="20" ActiveCurrent="45" CardID="6"/>
  <CardType Name="Main" Current="60" ActiveCurrent="80" CardID="7"/>
  <CardType Name="Relay" Current="12" ActiveCurrent="60" CardID="8"/>
  <CardType Name="Can" Current="25" ActiveCurrent="30" CardID="9"/>
  <CardType Name="Modbus" Current="20" ActiveCurrent="25" CardID="10"/>
  <CardType Name="Optical" Current="70" ActiveCurrent="75" CardID="11"/>
  <CardType Name="Hyper" Current="85" ActiveCurrent="90" CardID="12"/>
  <CardType Name="Loop" Current="30" ActiveCurrent="45" CardID="13"/>
  <BatteryType Name="B7" Capacity="7" Note="seven"/>
  <BatteryType Name="B12a" Capacity="12" Note="first twelve"/>
  <BatteryType Name="B12b" Capacity="12" Note="second twelve"/>
  <BatteryType Name="B17" Capacity="17" Note="12V 17Ah, two in series"/>
  <BatteryType Name="B300" Capacity="300" Note="too large"/>
</Default>
)";

const QString kRequired = QStringLiteral("Required minimum battery capacity is : ");
const QString kRecommend = QStringLiteral("Recommand battery type is ");
const QString kNoBattery =
    QStringLiteral("No battery type of the library below 255 Ah is larger than %1 Ah!");
const QString kLeftOut =
    QStringLiteral("Row %1 (\"%2\", quantity %3) is left out: its type is not in the library.");

std::unique_ptr<LCController> makePanel(int panelType)
{
    auto panel = std::make_unique<LCController>();
    panel->storeProperty(PropertyId::Panelid, 1);
    panel->storeProperty(PropertyId::PanelType, panelType);
    return panel;
}

void addLoop(LCController &panel, const QList<int> &deviceTypeIds)
{
    auto loop = std::make_unique<LCLoop>(&panel);
    loop->storeProperty(PropertyId::Loopid, panel.childCount() + 1);
    for (const int typeId : deviceTypeIds) {
        auto device = std::make_unique<LCDevice>(loop.get());
        device->storeProperty(PropertyId::deviceTypeid, typeId);
        loop->insertChild(std::move(device));
    }
    panel.insertChild(std::move(loop));
}

// The B20 of the worked example: one communication card, two loop cards, no devices.
std::unique_ptr<LCController> workedExamplePanel()
{
    auto panel = makePanel(2);
    panel->storeProperty(PropertyId::CommCount, 1);
    panel->storeProperty(PropertyId::LoopCardCount, 2);
    return panel;
}

// ZCP 2, main 1, CAN 1, Modbus 3, one optical and one hyper network card, 2 loop cards.
std::unique_ptr<LCController> d50Panel()
{
    auto panel = makePanel(5);
    panel->storeProperty(PropertyId::LoopCardCount, 2);
    panel->storeProperty(PropertyId::CommCount, 4);
    panel->storeProperty(PropertyId::ManualPanelCount, 2);
    panel->storeProperty(PropertyId::MainCardCount, 1);
    panel->storeProperty(PropertyId::CANCardCount, 1);
    panel->storeProperty(PropertyId::ModbusCardCount, 3);
    panel->storeProperty(PropertyId::Slot1CardType, LCController::kHyperNetworkCard);
    panel->storeProperty(PropertyId::Slot2CardType, LCController::kOpticalCard);
    return panel;
}

template <typename T>
T *child(const QObject &dialog, const char *name)
{
    T *const found = dialog.findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no widget %s", name);
    }
    return found;
}

QStringList rowsOf(const QTableWidget &table)
{
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        rows << table.item(row, 0)->text() + QLatin1Char('|') + table.item(row, 1)->text();
    }
    return rows;
}

void setRows(QTableWidget &table, const QList<QPair<QString, QString>> &rows)
{
    table.setRowCount(0);
    for (const auto &row : rows) {
        const int at = table.rowCount();
        table.insertRow(at);
        table.setItem(at, 0, new QTableWidgetItem(row.first));
        table.setItem(at, 1, new QTableWidgetItem(row.second));
    }
}

// The capacity the result view states.
double statedAmpHour(const QTextEdit &view)
{
    const QRegularExpression pattern(
        QStringLiteral("^Required minimum battery capacity is : (\\S+) Ah\\n"));
    const QRegularExpressionMatch match = pattern.match(view.toPlainText());
    return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
}
} // namespace

class TestLCBatteryDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void calculation_data();
    void calculation();
    void detectorTenths_data();
    void detectorTenths();
    void timeValidation_data();
    void timeValidation();
    void quantityValidation_data();
    void quantityValidation();
    void addType();
    void contextMenu();
    void typeEditorOffersAllTypes();
    void withoutPanel();

private:
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
};

void TestLCBatteryDlg::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config")));
    QFile file(m_dir.filePath(QStringLiteral("config/default.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(kDefaults) > 0);
    file.close();
    LCDataStore *const store = LCDataStore::instance();
    store->setBaseDirectory(m_dir.path());
    QVERIFY(store->loadDefaults());
    store->setDeviceTypes(store->defaultDeviceTypes());
    store->setCardTypes(store->defaultCardTypes());
    QCOMPARE(store->batteryTypes().size(), 5);
}

void TestLCBatteryDlg::cleanupTestCase()
{
    LCDataStore::instance()->setBaseDirectory(QCoreApplication::applicationDirPath());
}

void TestLCBatteryDlg::init()
{
    m_prompter.shown.clear();
}

enum class Panel { WorkedExample, WithUnknownRows, D50, WithDevices };
Q_DECLARE_METATYPE(Panel)

void TestLCBatteryDlg::calculation_data()
{
    QTest::addColumn<Panel>("panelKind");
    QTest::addColumn<QString>("standbyLine"); // null: left as shown
    QTest::addColumn<QString>("standbyHours"); // null: left as shown
    QTest::addColumn<QString>("alarmHours"); // null: left as shown
    QTest::addColumn<QString>("ampHour");
    QTest::addColumn<QString>("battery"); // empty: none recommended
    QTest::addColumn<QString>("leftOut"); // the lines naming the rows the capacity leaves out

    const QString b17 = QStringLiteral("B17(12V 17Ah, two in series)");
    QTest::newRow("type 2 worked example, 24 h and 0.5 h: 14.2 Ah")
        << Panel::WorkedExample << QString() << QString() << QString() << "14.2" << b17
        << QString();
    // 0.0 is not refused: only the alarm term counts, (2.08 x 0.5) x 1.25
    QTest::newRow("standby 0.0: alarm only, B7")
        << Panel::WorkedExample << "0.0" << QString() << QString() << "1.3"
        << "B7(seven)" << QString();
    // (0.43 x 556 + 1.04) x 1.25; the 300 Ah battery is too small
    QTest::newRow("300.15 Ah: no recommendation")
        << Panel::WorkedExample << "556." << QString() << QString() << "300.15" << QString()
        << QString();
    // rows the user added: a placeholder without devices is no loss; a name holding "%1" stays
    QTest::newRow("added rows not in the library named")
        << Panel::WithUnknownRows << QString() << QString() << QString() << "14.2" << b17
        << "\n" + kLeftOut.arg("3", "%1 Smoke", "3") + "\n" + kLeftOut.arg("4", "smoke", "1");
    // S = 0.0012 + 0.0004 + 0.0005 + 0.0008; A = 0.002 + 0.0008 + 0.0025 + 0.04
    // ((0.28 + 0.0029 + 0.05) x 24 + (3.43 + 0.0453 + 0.05) x 0.5) x 1.25 = 12.1903125
    QTest::newRow("devices of the loops counted")
        << Panel::WithDevices << QString() << QString() << QString() << "12.1903" << b17
        << "\n" + kLeftOut.arg("1", "", "1");
    // 0.617 + (617 - 65) / 1000 x 23 + 0.870 x 0.25 + 0.25 x 2500 / 1000
    QTest::newRow("type 5 by hand, 24 h")
        << Panel::D50 << QString() << "24" << QString() << "14.1555" << b17 << QString();
    // 0.617 + 0.552 x 71 + 0.870 + 2.5
    QTest::newRow("type 5, 72 h and 1 h: nothing large enough")
        << Panel::D50 << QString() << "72"
        << "1.0"
        << "43.179" << QString() << QString();
    // the hidden line is not checked; the combo's 72 h and 0.25 h count
    QTest::newRow("type 5 ignores the blank standby line")
        << Panel::D50 << "" << QString() << QString() << "40.6515" << QString() << QString();
}

void TestLCBatteryDlg::calculation()
{
    QFETCH(Panel, panelKind);
    QFETCH(QString, standbyLine);
    QFETCH(QString, standbyHours);
    QFETCH(QString, alarmHours);
    QFETCH(QString, ampHour);
    QFETCH(QString, battery);
    QFETCH(QString, leftOut);

    std::unique_ptr<LCController> panel;
    switch (panelKind) {
    case Panel::WorkedExample:
    case Panel::WithUnknownRows:
        panel = workedExamplePanel();
        break;
    case Panel::D50:
        panel = d50Panel();
        break;
    case Panel::WithDevices:
        panel = makePanel(1);
        panel->storeProperty(PropertyId::LoopCardCount, 1);
        // 99 is no type: its devices count under the empty name
        addLoop(*panel, {1, 1, 10, 99, 1});
        addLoop(*panel, {30, 5, 30, 5, 1});
        break;
    }
    LCBatteryDlg dialog(panel.get(), m_prompter);
    if (panelKind == Panel::WithUnknownRows) {
        setRows(*child<QTableWidget>(dialog, "deviceTable"),
            {{"UNDEFINED", "0"}, {"Smoke", "0"}, {"%1 Smoke", "3"}, {"smoke", "1"}});
    }
    if (panelKind == Panel::WithDevices) {
        // rows per name, by character code: the empty name first, lower case after upper case
        QCOMPARE(rowsOf(*child<QTableWidget>(dialog, "deviceTable")),
            QStringList({"|1", "CallPoint|2", "InputModule|1", "Smoke|4", "alarmBell|2"}));
    }
    if (!standbyLine.isNull()) {
        child<QLineEdit>(dialog, "standbyEdit")->setText(standbyLine);
    }
    if (!standbyHours.isNull()) {
        child<QComboBox>(dialog, "standbyCombo")->setCurrentText(standbyHours);
    }
    if (!alarmHours.isNull()) {
        child<QComboBox>(dialog, "alarmCombo")->setCurrentText(alarmHours);
    }
    dialog.slotCalc();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(child<QTextEdit>(dialog, "resultView")->toPlainText(),
        kRequired + ampHour + QStringLiteral(" Ah\n")
            + (battery.isEmpty() ? kNoBattery.arg(ampHour) : kRecommend + battery) + leftOut);
}

void TestLCBatteryDlg::detectorTenths_data()
{
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<double>("ampHour");

    // B20 without cards, standby 0.0 h, alarm 1.0 h: (1.92 + A) x 1.25 with ten devices
    QTest::newRow("id 5: a tenth") << "CallPoint" << (1.92 + 0.004) * 1.25;
    QTest::newRow("id 21: a tenth") << "OutdoorCallPoint" << (1.92 + 0.0045) * 1.25;
    QTest::newRow("id 10: all of it") << "InputModule" << (1.92 + 0.025) * 1.25;
    QTest::newRow("id 30: all of it") << "alarmBell" << (1.92 + 0.2) * 1.25;
    QTest::newRow("not a type name") << "UNDEFINED" << 1.92 * 1.25;
}

void TestLCBatteryDlg::detectorTenths()
{
    QFETCH(QString, typeName);
    QFETCH(double, ampHour);

    auto panel = makePanel(2);
    LCBatteryDlg dialog(panel.get(), m_prompter);
    setRows(*child<QTableWidget>(dialog, "deviceTable"), {{typeName, QStringLiteral("10")}});
    child<QLineEdit>(dialog, "standbyEdit")->setText(QStringLiteral("0.0"));
    child<QComboBox>(dialog, "alarmCombo")->setCurrentText(QStringLiteral("1.0"));
    dialog.slotCalc();
    const double stated = statedAmpHour(*child<QTextEdit>(dialog, "resultView"));
    QVERIFY2(std::abs(stated - ampHour) <= kToleranceAmpHour, qPrintable(QString::number(stated)));
}

void TestLCBatteryDlg::timeValidation_data()
{
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QString>("standby");
    QTest::addColumn<QString>("message"); // empty: calculated
    QTest::addColumn<QString>("focus");

    const auto row = [](const char *name, const char *alarm, const char *standby,
                         const char *message, const char *focus) {
        QTest::newRow(name) << QString::fromLatin1(alarm) << QString::fromLatin1(standby)
                            << QString::fromLatin1(message) << QString::fromLatin1(focus);
    };
    row("alarm blank", "", "24", "The alarm time is blank", "alarmCombo");
    row("alarm 0", "0", "24", "The alarm time can not be 0", "alarmCombo");
    row("alarm checked first", "", "", "The alarm time is blank", "alarmCombo");
    row("standby blank", "0.5", "", "The standby time is blank", "standbyEdit");
    row("standby 0", "0.5", "0", "The standby time can not be 0", "standbyEdit");
    row("alarm 0.0 passes", "0.0", "24", "", "");
    row("standby .0 passes", "1.0", ".0", "", "");
}

void TestLCBatteryDlg::timeValidation()
{
    QFETCH(QString, alarm);
    QFETCH(QString, standby);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    auto panel = workedExamplePanel();
    LCBatteryDlg dialog(panel.get(), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    child<QPushButton>(dialog, "calculateButton")->setFocus();
    child<QComboBox>(dialog, "alarmCombo")->setEditText(alarm);
    child<QLineEdit>(dialog, "standbyEdit")->setText(standby);
    dialog.slotCalc();
    const QString result = child<QTextEdit>(dialog, "resultView")->toPlainText();
    if (message.isEmpty()) {
        QVERIFY(m_prompter.shown.isEmpty());
        QVERIFY(result.startsWith(kRequired));
    } else {
        QCOMPARE(m_prompter.shown, QStringList{"Information|" + message});
        QVERIFY(result.isEmpty());
        QVERIFY(dialog.focusWidget());
        QCOMPARE(dialog.focusWidget()->objectName(), focus);
    }
}

void TestLCBatteryDlg::quantityValidation_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<bool>("refused");

    QTest::newRow("negative") << "-3" << true;
    QTest::newRow("fraction") << "2.5" << true;
    QTest::newRow("text") << "CallPoint" << true;
    QTest::newRow("blank") << "" << true;
    QTest::newRow("plus sign") << "+4" << true;
    QTest::newRow("inner space") << "1 0" << true;
    QTest::newRow("too large for a number") << "99999999999" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("leading zeros") << "010" << false;
}

void TestLCBatteryDlg::quantityValidation()
{
    QFETCH(QString, quantity);
    QFETCH(bool, refused);

    auto panel = workedExamplePanel();
    LCBatteryDlg dialog(panel.get(), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    setRows(*table, {{"Smoke", "2"}, {"InputModule", quantity}, {"CallPoint", "-1"}});
    table->item(2, 1)->setText(QStringLiteral("1"));
    child<QPushButton>(dialog, "calculateButton")->setFocus();
    dialog.slotCalc();
    const QString result = child<QTextEdit>(dialog, "resultView")->toPlainText();
    if (refused) {
        QCOMPARE(m_prompter.shown,
            QStringList{"Information|The device quantity in row 2 must be a whole number of 0 or "
                        "more"});
        QVERIFY(result.isEmpty());
        QCOMPARE(table->currentRow(), 1);
        QCOMPARE(table->currentColumn(), 1);
        QCOMPARE(dialog.focusWidget(), table);
    } else {
        QVERIFY(m_prompter.shown.isEmpty());
        QVERIFY(result.startsWith(kRequired));
    }
}

void TestLCBatteryDlg::addType()
{
    auto panel = makePanel(2);
    addLoop(*panel, {5});
    LCBatteryDlg dialog(panel.get(), m_prompter);
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    dialog.slotAddType();
    QCOMPARE(rowsOf(*table), QStringList({"CallPoint|1", "UNDEFINED|0"}));
    QVERIFY(m_prompter.shown.isEmpty());
    // refused while the last row is still "UNDEFINED"
    dialog.slotAddType();
    QCOMPARE(m_prompter.shown, QStringList{"Information|Please fill type of current row!"});
    QCOMPARE(table->rowCount(), 2);
    // the new row counts nothing until it names a type
    dialog.slotCalc();
    const double withoutNewRow = statedAmpHour(*child<QTextEdit>(dialog, "resultView"));
    table->item(1, 0)->setText(QStringLiteral("alarmBell"));
    table->item(1, 1)->setText(QStringLiteral("3"));
    dialog.slotCalc();
    // 3 x 0.4 mA x 24 h and 3 x 20 mA x 0.5 h, x 1.25
    const double expected = withoutNewRow + (0.0012 * 24 + 0.06 * 0.5) * 1.25;
    const double stated = statedAmpHour(*child<QTextEdit>(dialog, "resultView"));
    QVERIFY2(std::abs(stated - expected) <= kToleranceAmpHour, qPrintable(QString::number(stated)));
    // named, it lets the next one in
    dialog.slotAddType();
    QCOMPARE(table->rowCount(), 3);
}

void TestLCBatteryDlg::contextMenu()
{
    auto panel = makePanel(2);
    addLoop(*panel, {5, 1});
    LCBatteryDlg dialog(panel.get(), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *const table = child<QTableWidget>(dialog, "deviceTable");

    // Opens the menu at a cell and reports its entries; the menu is closed again at once.
    const auto menuAt = [&](int row, int column) {
        table->setCurrentCell(row, column);
        QStringList entries;
        QTimer::singleShot(0, &dialog, [&entries]() {
            if (auto *const menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *const action : menu->actions()) {
                    entries << action->text();
                }
                menu->close();
            }
        });
        dialog.slotViewContextMenu(QPoint(5, 5));
        QTest::qWait(1);
        return entries;
    };
    QCOMPARE(menuAt(1, 0), QStringList{"Add Type"});
    QCOMPARE(menuAt(0, 0), QStringList());
    QCOMPARE(menuAt(1, 1), QStringList());
    // an empty table must be able to get its first row
    table->setRowCount(0);
    QCOMPARE(menuAt(-1, -1), QStringList{"Add Type"});
}

void TestLCBatteryDlg::typeEditorOffersAllTypes()
{
    auto panel = makePanel(2);
    addLoop(*panel, {5});
    LCBatteryDlg dialog(panel.get(), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *const table = child<QTableWidget>(dialog, "deviceTable");
    // choosing a type writes its name into the cell
    const QModelIndex cell = table->model()->index(0, 0);
    table->setCurrentIndex(cell);
    table->edit(cell);
    auto *const editor = table->viewport()->findChild<QComboBox *>();
    QVERIFY(editor);
    QStringList offered;
    for (int i = 0; i < editor->count(); ++i) {
        offered << editor->itemText(i);
    }
    // in ascending id order
    QCOMPARE(offered,
        QStringList({"Smoke", "CallPoint", "InputModule", "OutdoorCallPoint", "alarmBell"}));
    editor->setCurrentIndex(2);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("InputModule"));
}

void TestLCBatteryDlg::withoutPanel()
{
    LCBatteryDlg dialog(nullptr, m_prompter);
    QVERIFY(!child<QPushButton>(dialog, "calculateButton")->isEnabled());
    QCOMPARE(child<QTableWidget>(dialog, "deviceTable")->rowCount(), 0);
    QCOMPARE(child<QLineEdit>(dialog, "panelTypeEdit")->text(), QString());
}

QTEST_MAIN(TestLCBatteryDlg)
#include "tst_lcbatterydlg.moc"
