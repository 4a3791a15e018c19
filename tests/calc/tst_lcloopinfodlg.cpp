#include "../app/scriptedprompter.h"
#include "calc/ui/lcloopinfodlg.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace
{
const QString kInformation = QStringLiteral("Information");
const QString kInfomation = QStringLiteral("Infomation");
constexpr int kSmoke = 1;
constexpr int kHeat = 2;
constexpr int kSounder = 5;
constexpr float kToleranceMetre = 1e-3f;

void useLibrary()
{
    QMap<int, DeviceType> devices;
    const QVector<QPair<int, QString>> names = {
        {kSmoke, "Smoke"}, {kHeat, "Heat"}, {kSounder, "Sounder"}};
    for (const auto &entry : names) {
        DeviceType type;
        type.DevID = entry.first;
        type.Name = entry.second;
        devices.insert(type.DevID, type);
    }
    LCDataStore::instance()->setDeviceTypes(devices);
    // cable ids with gaps, as deleting types leaves them
    QMap<int, WireType> cables;
    const QVector<QPair<int, QString>> cableNames = {{1, "Thin"}, {4, "Medium"}, {9, "Heavy"}};
    for (const auto &entry : cableNames) {
        WireType cable;
        cable.WireID = entry.first;
        cable.Name = entry.second;
        cables.insert(cable.WireID, cable);
    }
    LCDataStore::instance()->setWireTypes(cables);
}

// A panel of the given type holding loops with these numbers.
struct Panel {
    explicit Panel(int type = 3, const QVector<int> &loops = {})
    {
        panel.storeProperty(PropertyId::Panelid, 1);
        panel.storeProperty(PropertyId::PanelType, type);
        for (const int id : loops) {
            auto loop = std::make_unique<LCLoop>(&panel);
            loop->storeProperty(PropertyId::Loopid, id);
            panel.insertChild(std::move(loop));
        }
    }
    QVector<int> loopNumbers() const
    {
        QVector<int> numbers;
        for (int i = 0; i < panel.childCount(); ++i) {
            numbers << panel.child(i)->property(PropertyId::Loopid).toInt();
        }
        return numbers;
    }
    LCController panel;
};

// The dialog as the user sees it, shown so that focus can be checked.
struct Dialog {
    explicit Dialog(LCController *panel)
        : dialog(panel, prompter)
    {
        dialog.show();
        dialog.activateWindow();
        active = QTest::qWaitForWindowActive(&dialog);
    }
    template <typename Widget = QWidget>
    Widget *field(const QString &name) const
    {
        auto *const widget = dialog.findChild<Widget *>(name);
        if (!widget) {
            qFatal("no field %s", qPrintable(name));
        }
        return widget;
    }
    QSpinBox *loopNumber() const { return field<QSpinBox>("loopNumber"); }
    QLineEdit *totalQuantity() const { return field<QLineEdit>("totalQuantity"); }
    QLineEdit *totalLength() const { return field<QLineEdit>("totalLength"); }
    QSpinBox *firstRun() const { return field<QSpinBox>("firstRun"); }
    QSlider *slider() const { return field<QSlider>("distribution"); }
    QTableWidget *grid() const { return field<QTableWidget>("deviceTypes"); }
    // Sets the grid to rows given as "type=quantity", as the user would through its editors.
    void setRows(const QStringList &rows)
    {
        QTableWidget *const table = grid();
        table->setRowCount(0);
        for (const QString &row : rows) {
            const int at = table->rowCount();
            table->insertRow(at);
            table->setItem(at, 0, new QTableWidgetItem(row.section('=', 0, 0)));
            table->setItem(at, 1, new QTableWidgetItem(row.section('=', 1)));
        }
    }
    QString cell(int row, int column) const { return grid()->item(row, column)->text(); }
    void typeLength(const QString &text)
    {
        totalLength()->clear();
        QTest::keyClicks(totalLength(), text);
    }

    ScriptedPrompter prompter;
    LCLoopInfoDlg dialog;
    bool active = false;
};

QVector<int> typesOf(const LCLoop *loop)
{
    QVector<int> types;
    for (int i = 0; i < loop->childCount(); ++i) {
        types << loop->child(i)->property(PropertyId::deviceTypeid).toInt();
    }
    return types;
}

} // namespace

class TestLCLoopInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void proposedLoop_data();
    void proposedLoop();
    void okAtOnceCreatesFullLoop();
    void distribution_data();
    void distribution();
    void refusedPlans_data();
    void refusedPlans();
    void typesInGridOrder();
    void totalFollowsGrid();
    void refusedInput_data();
    void refusedInput();
    void totalLength_data();
    void totalLength();
    void firstRunFollowsLength();
    void cableTypeById();
    void addType();
};

void TestLCLoopInfoDlg::init()
{
    useLibrary();
}

void TestLCLoopInfoDlg::proposedLoop_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVector<int>>("loops");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("proposed");
    QTest::newRow("type 3: next after 2") << 3 << QVector<int>{1, 2} << 10 << 3;
    QTest::newRow("type 5: six loops at most") << 5 << QVector<int>{1, 2, 3} << 6 << 4;
    QTest::newRow("type 1: full panel proposes 1") << 1 << QVector<int>{1, 2} << 2 << 1;
}

void TestLCLoopInfoDlg::proposedLoop()
{
    QFETCH(int, type);
    QFETCH(QVector<int>, loops);
    Panel site(type, loops);
    Dialog ui(&site.panel);
    QTEST(ui.loopNumber()->maximum(), "maximum");
    QTEST(ui.loopNumber()->value(), "proposed");
}

void TestLCLoopInfoDlg::okAtOnceCreatesFullLoop()
{
    Panel site(3, {1, 2});
    Dialog ui(&site.panel);
    QCOMPARE(ui.totalLength()->text(), QStringLiteral("3000"));
    QCOMPARE(ui.cell(0, 0), QStringLiteral("Smoke"));
    QCOMPARE(ui.cell(0, 1), QStringLiteral("242"));
    ui.dialog.slotOk();
    QVERIFY2(ui.prompter.shown.isEmpty(), qPrintable(ui.prompter.shown.join('\n')));
    QCOMPARE(ui.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(site.loopNumbers(), QVector<int>({1, 2, 3}));
    LCLoop *const loop = site.panel.loop(2);
    QCOMPARE(ui.dialog.createdLoop(), loop);
    QCOMPARE(loop->childCount(), 242);
    QVERIFY(loop->isFull());
    // three loops need two cards
    QCOMPARE(site.panel.property(PropertyId::LoopCardCount).toInt(), 2);
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), 1);
    QCOMPARE(typesOf(loop), QVector<int>(242, kSmoke));
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 0.0f);
    QCOMPARE(loop->child(1)->property(PropertyId::pos).toFloat(), 3000.0f / 242.0f);
    QVERIFY(std::abs(loop->totalCableLength() - 3000.0f) <= 3000.0f * kToleranceMetre);
    QCOMPARE(loop->property(PropertyId::LoopStatus).toInt(), LoopStatusValue::NotCalculated);
}

void TestLCLoopInfoDlg::distribution_data()
{
    QTest::addColumn<float>("total");
    QTest::addColumn<float>("firstRun");
    QTest::addColumn<int>("devices");
    QTest::addColumn<float>("share");
    QTest::newRow("1000 m, 100 m out, 10 devices") << 1000.0f << 100.0f << 10 << 90.0f;
    QTest::newRow("best case: first device at the panel") << 1000.0f << 0.0f << 10 << 100.0f;
    QTest::newRow("worst case: all at the far end") << 1000.0f << 1000.0f << 10 << 0.0f;
    QTest::newRow("242 devices, halfway") << 3000.0f << 1500.0f << 242 << 1500.0f / 242.0f;
    QTest::newRow("no cable") << 0.0f << 0.0f << 5 << 0.0f;
}

void TestLCLoopInfoDlg::distribution()
{
    QFETCH(float, total);
    QFETCH(float, firstRun);
    QFETCH(int, devices);
    QFETCH(float, share);
    Panel site(5);
    LCLoopInfoDlg::LoopPlan plan;
    plan.loopId = 4;
    plan.cableType = 2;
    plan.totalMetre = total;
    plan.firstRunMetre = firstRun;
    plan.deviceTypeIds = QVector<int>(devices, kHeat);
    const LCLoop *const loop = LCLoopInfoDlg::createLoop(site.panel, plan);
    QVERIFY(loop);
    QCOMPARE(loop->childCount(), devices);
    QCOMPARE(loop->property(PropertyId::Loopid).toInt(), 4);
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), firstRun);
    for (int i = 1; i < devices; ++i) {
        QVERIFY(std::abs(loop->child(i)->property(PropertyId::pos).toFloat() - share)
            <= kToleranceMetre);
        QCOMPARE(loop->child(i)->property(PropertyId::CableType).toInt(), 2);
    }
    QVERIFY(std::abs(loop->property(PropertyId::LastDis).toFloat() - share) <= kToleranceMetre);
    // nothing lost or gained: the lengths add up to the whole cable
    QVERIFY2(std::abs(loop->totalCableLength() - total) <= kToleranceMetre * std::max(1.0f, total),
        qPrintable(QString::number(loop->totalCableLength())));
}

void TestLCLoopInfoDlg::refusedPlans_data()
{
    QTest::addColumn<float>("total");
    QTest::addColumn<float>("firstRun");
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("loopId");
    QTest::newRow("no devices") << 100.0f << 0.0f << 0 << 3;
    QTest::newRow("243 devices") << 3000.0f << 0.0f << 243 << 3;
    QTest::newRow("first run beyond the cable") << 100.0f << 101.0f << 5 << 3;
    QTest::newRow("beyond 10000 m") << 10001.0f << 0.0f << 5 << 3;
    QTest::newRow("taken loop number") << 100.0f << 0.0f << 5 << 1;
}

void TestLCLoopInfoDlg::refusedPlans()
{
    QFETCH(float, total);
    QFETCH(float, firstRun);
    QFETCH(int, devices);
    QFETCH(int, loopId);
    Panel site(3, {1});
    LCLoopInfoDlg::LoopPlan plan;
    plan.loopId = loopId;
    plan.cableType = 1;
    plan.totalMetre = total;
    plan.firstRunMetre = firstRun;
    plan.deviceTypeIds = QVector<int>(devices, kSmoke);
    QVERIFY(!LCLoopInfoDlg::createLoop(site.panel, plan));
    QCOMPARE(site.loopNumbers(), QVector<int>({1}));
}

void TestLCLoopInfoDlg::typesInGridOrder()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({"Sounder=2", "UNDEFINED=0", "Smoke=3", "Nonsense=0", "Heat=0", "Heat=1"});
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("6"));
    ui.typeLength(QStringLiteral("600"));
    ui.firstRun()->setValue(60);
    ui.dialog.slotOk();
    QVERIFY2(ui.prompter.shown.isEmpty(), qPrintable(ui.prompter.shown.join('\n')));
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY(loop);
    QCOMPARE(typesOf(loop), QVector<int>({kSounder, kSounder, kSmoke, kSmoke, kSmoke, kHeat}));
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 60.0f);
    QCOMPARE(loop->child(5)->property(PropertyId::pos).toFloat(), 90.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 90.0f);

    // 242 mixed devices are allowed
    Panel most(3);
    Dialog full(&most.panel);
    full.setRows({"Smoke=241", "Sounder=1"});
    full.dialog.slotOk();
    QVERIFY(full.prompter.shown.isEmpty());
    QCOMPARE(full.dialog.createdLoop()->childCount(), 242);
    QCOMPARE(typesOf(full.dialog.createdLoop()).last(), kSounder);
}

void TestLCLoopInfoDlg::totalFollowsGrid()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({"Smoke=150", "Heat=100"});
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("250"));
    ui.grid()->item(1, 0)->setText(QStringLiteral("heat"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("150"));
    ui.grid()->item(0, 1)->setText(QStringLiteral("7"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("7"));

    // an edit still open when the dialog goes commits on the way out, and must not reach the
    // half-destroyed dialog (the sanitizer build sees it)
    auto left = std::make_unique<Dialog>(&site.panel);
    QVERIFY(left->active);
    QTableWidget *const grid = left->grid();
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    grid->editItem(grid->item(0, 1));
    auto *const editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    QVERIFY(editor->hasFocus());
    editor->setText(QStringLiteral("9"));
    left.reset();
}

void TestLCLoopInfoDlg::refusedInput_data()
{
    // rows of the grid as "type=quantity" (none: as proposed; one empty: quantity cleared), the
    // length typed (null: as proposed), the loop number (0: as proposed), the box shown, the
    // field given the focus and the grid column made current (row 1 then)
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("length");
    QTest::addColumn<int>("loopNumber");
    QTest::addColumn<bool>("emptyLibrary");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("gridColumn");
    const QString tooMany = kInformation + "|The total device QTY should be not more than 242";
    QTest::newRow("250 devices") << QStringList{"Smoke=150", "Heat=100"} << QString() << 0 << false
                                 << tooMany << "totalQuantity" << -1;
    QTest::newRow("243 devices refused") << QStringList{"Smoke=242", "Heat=1"} << QString() << 0
                                         << false << tooMany << "totalQuantity" << -1;
    QTest::newRow("one device, rows without devices not counted")
        << QStringList{"Smoke=1", "UNDEFINED=0"} << QString() << 0 << false
        << kInformation + "|The total device QTY should be not less than 2 "
        << "totalQuantity" << -1;
    // not "not less than 2": the total leaves the row out
    QTest::newRow("type name not in the library")
        << QStringList{"Smoke=5", "smoke=237"} << QString() << 0 << false
        << kInformation + "|The device type \"smoke\" is not in the library!"
        << "deviceTypes" << 0;
    QTest::newRow("blank quantity named first")
        << QStringList{""} << "" << 0 << false << kInfomation + "|Total Device QTY is blank!"
        << "totalQuantity" << -1;
    QTest::newRow("blank length") << QStringList() << "" << 0 << false
                                  << kInfomation + "|Total loop lenth is blank!"
                                  << "totalLength" << -1;
    QTest::newRow("grid quantity 3x is no number")
        << QStringList{"Smoke=5", "Heat=3x"} << QString() << 0 << false
        << kInformation + "|Quantity should be from 0 to 242!"
        << "deviceTypes" << 1;
    QTest::newRow("duplicate loop")
        << QStringList() << QString() << 2 << false << kInformation + "|Duplicate loop ID!"
        << "loopNumber" << -1;
    QTest::newRow("empty library") << QStringList() << QString() << 0 << true
                                   << kInformation
            + "|There is no device type in the definitions. Please define device types first!"
                                   << "deviceTypes" << -1;
}

void TestLCLoopInfoDlg::refusedInput()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, length);
    QFETCH(int, loopNumber);
    QFETCH(bool, emptyLibrary);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(int, gridColumn);
    if (emptyLibrary) {
        LCDataStore::instance()->setDeviceTypes({});
    }
    Panel site(3, {1, 2});
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    if (emptyLibrary) {
        // the quantity still says 242, but no row names a type
        QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("242"));
        QCOMPARE(ui.cell(0, 0), QString());
    }
    if (rows == QStringList{QString()}) {
        ui.totalQuantity()->clear();
    } else if (!rows.isEmpty()) {
        ui.setRows(rows);
    }
    if (!length.isNull()) {
        ui.typeLength(length);
        QCOMPARE(ui.totalLength()->text(), length);
    }
    if (loopNumber) {
        ui.loopNumber()->setValue(loopNumber);
    }
    // the focus starts away from the field it must end on
    ui.field(focus == "totalLength" ? "deviceTypes" : "totalLength")->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({message}));
    QCOMPARE(QApplication::focusWidget(), ui.field(focus));
    if (gridColumn >= 0) {
        QCOMPARE(ui.grid()->currentRow(), 1);
        QCOMPARE(ui.grid()->currentColumn(), gridColumn);
    }
    QCOMPARE(site.loopNumbers(), QVector<int>({1, 2}));
    QCOMPARE(site.panel.loop(1)->childCount(), 0);
    QVERIFY(!ui.dialog.createdLoop());
    QVERIFY(ui.dialog.isVisible());
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
}

void TestLCLoopInfoDlg::totalLength_data()
{
    // the locale, the keys typed, the metres read (-1: refused at Ok)
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("metres");
    const auto row = [](const char *name, const char *locale, const char *typed, int metres) {
        QTest::newRow(name) << QString(locale) << QString(typed) << metres;
    };
    row("English group separator", "en_US", "2,000", 2000);
    row("10,000 fits", "en_US", "10,000", 10000);
    row("German group separator", "de_DE", "2.000", 2000);
    row("plain digits in German", "de_DE", "2000", 2000);
    // left as typed, not rewritten to 2,000 when the field loses the focus
    row("misplaced separator refused", "en_US", "20,00", -1);
    row("10001 refused", "en_US", "10001", -1);
}

void TestLCLoopInfoDlg::totalLength()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, metres);
    const auto restore = qScopeGuard([previous = QLocale()]() { QLocale::setDefault(previous); });
    QLocale::setDefault(QLocale(locale));
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.setRows({"Smoke=2"});
    ui.totalLength()->setFocus();
    ui.typeLength(typed);
    // the first run may go as far as the length read, and nowhere when nothing was read
    QCOMPARE(ui.slider()->maximum(), qMax(metres, 0));
    QCOMPARE(ui.firstRun()->maximum(), qMax(metres, 0));
    // the click takes the focus from the field, as a user's would
    QTest::mouseClick(ui.field("okButton"), Qt::LeftButton);
    QCOMPARE(ui.totalLength()->text(), typed);
    const LCLoop *const loop = ui.dialog.createdLoop();
    if (metres < 0) {
        QCOMPARE(ui.prompter.shown,
            QStringList({kInformation + "|Total loop length should be from 0 to 10000 m!"}));
        QCOMPARE(QApplication::focusWidget(), ui.totalLength());
        QVERIFY(!loop);
        QVERIFY(site.panel.isEmpty());
    } else {
        QVERIFY2(ui.prompter.shown.isEmpty(), qPrintable(ui.prompter.shown.join('\n')));
        QVERIFY(loop);
        QCOMPARE(loop->totalCableLength(), float(metres));
    }
}

void TestLCLoopInfoDlg::firstRunFollowsLength()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.slider()->setValue(900);
    QCOMPARE(ui.firstRun()->value(), 900);
    ui.firstRun()->setValue(1200);
    QCOMPARE(ui.slider()->value(), 1200);
    // a new length restarts the run, which can never be longer than the cable
    ui.typeLength(QStringLiteral("2000"));
    QCOMPARE(ui.firstRun()->value(), 0);
    QCOMPARE(ui.slider()->value(), 0);
    ui.firstRun()->setValue(2500);
    QCOMPARE(ui.firstRun()->value(), 2000);
}

void TestLCLoopInfoDlg::cableTypeById()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({"Smoke=2"});
    ui.field<QComboBox>("cableType")->setCurrentIndex(2);
    ui.dialog.slotOk();
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY(loop);
    // the third cable has id 9; its place in the list would name one that does not exist
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), 9);
    QCOMPARE(loop->child(1)->property(PropertyId::CableType).toInt(), 9);
}

void TestLCLoopInfoDlg::addType()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({"Smoke=242"});
    ui.dialog.slotAddType();
    QCOMPARE(ui.grid()->rowCount(), 2);
    QCOMPARE(ui.cell(1, 0), QStringLiteral("UNDEFINED"));
    QCOMPARE(ui.cell(1, 1), QStringLiteral("0"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("242"));
    // only once the new row has a type may another follow
    ui.dialog.slotAddType();
    QCOMPARE(ui.prompter.shown, QStringList({kInformation + "|Please fill type of current row!"}));
    QCOMPARE(ui.grid()->rowCount(), 2);
    ui.grid()->item(1, 0)->setText(QStringLiteral("Sounder"));
    ui.dialog.slotAddType();
    QCOMPARE(ui.grid()->rowCount(), 3);

    ui.dialog.slotCancel();
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
    QVERIFY(site.panel.isEmpty());
}

QTEST_MAIN(TestLCLoopInfoDlg)
#include "tst_lcloopinfodlg.moc"
