#include "../app/scriptedprompter.h"
#include "calc/ui/lcloopinfodlg.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lcitemdelegate.h"
#include "model/lccontroller.h"
#include "model/lcdevice.h"
#include "model/lcloop.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTimer>
#include <QValidator>
#include <QtTest>

#include <memory>
#include <numeric>

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
    // cable ids with gaps: the dialog numbers them by their place in the list
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
    template <typename Widget>
    Widget *field(const char *name) const
    {
        auto *const widget = dialog.findChild<Widget *>(QLatin1String(name));
        if (!widget) {
            qFatal("no field %s", name);
        }
        return widget;
    }
    QSpinBox *loopNumber() const { return field<QSpinBox>("loopNumber"); }
    QLineEdit *totalQuantity() const { return field<QLineEdit>("totalQuantity"); }
    QLineEdit *totalLength() const { return field<QLineEdit>("totalLength"); }
    QSpinBox *firstRun() const { return field<QSpinBox>("firstRun"); }
    QSlider *slider() const { return field<QSlider>("distribution"); }
    QComboBox *cableType() const { return field<QComboBox>("cableType"); }
    QTableWidget *grid() const { return field<QTableWidget>("deviceTypes"); }
    // Sets the grid to these rows of type and quantity, as the user would through its editors.
    void setRows(const QVector<QPair<QString, QString>> &rows)
    {
        QTableWidget *const table = grid();
        table->setRowCount(0);
        for (const auto &row : rows) {
            const int at = table->rowCount();
            table->insertRow(at);
            table->setItem(at, 0, new QTableWidgetItem(row.first));
            table->setItem(at, 1, new QTableWidgetItem(row.second));
        }
    }
    QString cell(int row, int column) const { return grid()->item(row, column)->text(); }

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

// The actions of the context menu the dialog opens at the grid, or "none".
QStringList contextMenuOf(Dialog &ui)
{
    QStringList entries = {QStringLiteral("none")};
    QTimer::singleShot(0, [&entries]() {
        if (auto *const menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            entries.clear();
            for (const QAction *action : menu->actions()) {
                entries << action->text();
            }
            menu->close();
        }
    });
    ui.dialog.slotViewContextMenu(QPoint(10, 10));
    // when no menu was opened, let the timer run now
    QCoreApplication::processEvents();
    return entries;
}
} // namespace

class TestLCLoopInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startingState();
    void okAtOnceCreatesFullLoop();
    void distribution_data();
    void distribution();
    void refusedPlans_data();
    void refusedPlans();
    void typesInGridOrder();
    void totalFollowsGrid();
    void tooManyDevices();
    void mostDevices();
    void tooFewDevices();
    void blankQuantity();
    void blankLength();
    void lengthBeyondRange();
    void lengthValidator_data();
    void lengthValidator();
    void quantityEditor_data();
    void quantityEditor();
    void badGridQuantity();
    void duplicateLoop();
    void newLengthRestartsRun();
    void sliderAndSpinBoxAgree();
    void cableTypeByPlace();
    void emptyLibraryRefused();
    void addTypeMenu();
    void addTypeOnce();
    void cancelCreatesNothing();
};

void TestLCLoopInfoDlg::init()
{
    useLibrary();
}

void TestLCLoopInfoDlg::startingState()
{
    Panel site(3, {1, 2});
    Dialog ui(&site.panel);
    QCOMPARE(ui.dialog.windowTitle(), QStringLiteral("Loop Information"));
    QCOMPARE(ui.dialog.size(), QSize(602, 408));
    QCOMPARE(ui.loopNumber()->minimum(), 1);
    QCOMPARE(ui.loopNumber()->maximum(), 10);
    QCOMPARE(ui.loopNumber()->value(), 3);
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("242"));
    QVERIFY(ui.totalQuantity()->isReadOnly());
    QCOMPARE(ui.totalLength()->text(), QStringLiteral("3000"));
    QCOMPARE(ui.totalLength()->maxLength(), 5);
    QCOMPARE(ui.firstRun()->maximum(), 3000);
    QCOMPARE(ui.slider()->maximum(), 3000);
    QCOMPARE(ui.slider()->singleStep(), 300);
    QCOMPARE(ui.slider()->pageStep(), 300);
    QCOMPARE(ui.cableType()->count(), 3);
    QCOMPARE(ui.cableType()->itemText(2), QStringLiteral("Heavy"));
    QCOMPARE(ui.grid()->rowCount(), 1);
    QCOMPARE(ui.cell(0, 0), QStringLiteral("Smoke"));
    QCOMPARE(ui.cell(0, 1), QStringLiteral("242"));
    QCOMPARE(ui.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("Device Type"));
    QCOMPARE(ui.grid()->horizontalHeaderItem(1)->text(), QStringLiteral("Quantity"));

    // panels of the other types
    Panel slotted(5, {1, 2, 3});
    Dialog six(&slotted.panel);
    QCOMPARE(six.loopNumber()->maximum(), 6);
    QCOMPARE(six.loopNumber()->value(), 4);
    Panel full(1, {1, 2});
    Dialog two(&full.panel);
    QCOMPARE(two.loopNumber()->maximum(), 2);
    QCOMPARE(two.loopNumber()->value(), 1);
}

void TestLCLoopInfoDlg::okAtOnceCreatesFullLoop()
{
    Panel site(3, {1, 2});
    Dialog ui(&site.panel);
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
    const float share = 3000.0f / 242.0f;
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 0.0f);
    for (int i = 0; i < loop->childCount(); ++i) {
        const LCObject *const device = loop->child(i);
        QCOMPARE(device->property(PropertyId::deviceTypeid).toInt(), kSmoke);
        QCOMPARE(device->property(PropertyId::CableType).toInt(), 1);
        QCOMPARE(device->property(PropertyId::truck).toInt(), 0);
        QCOMPARE(device->property(PropertyId::Relay).toBool(), false);
        if (i > 0) {
            QCOMPARE(device->property(PropertyId::pos).toFloat(), share);
        }
    }
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), share);
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
    QTest::newRow("100 m, 10 m out, 3 devices") << 100.0f << 10.0f << 3 << 30.0f;
    QTest::newRow("241 devices") << 3000.0f << 0.0f << 241 << 3000.0f / 241.0f;
    QTest::newRow("242 devices, halfway") << 3000.0f << 1500.0f << 242 << 1500.0f / 242.0f;
    QTest::newRow("two devices") << 10.0f << 4.0f << 2 << 3.0f;
    QTest::newRow("no cable") << 0.0f << 0.0f << 5 << 0.0f;
    QTest::newRow("longest loop") << 10000.0f << 0.0f << 2 << 5000.0f;
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
    }
    QVERIFY(std::abs(loop->property(PropertyId::LastDis).toFloat() - share) <= kToleranceMetre);
    // nothing lost or gained: the lengths add up to the whole cable
    QVERIFY2(std::abs(loop->totalCableLength() - total) <= kToleranceMetre * std::max(1.0f, total),
        qPrintable(QString::number(loop->totalCableLength())));
    // every length is one a cable can have
    for (int i = 0; i < devices; ++i) {
        QVERIFY(loop->child(i)->property(PropertyId::pos).toFloat() >= 0.0f);
        QCOMPARE(loop->child(i)->property(PropertyId::CableType).toInt(), 2);
    }
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
    QTest::newRow("negative total") << -1.0f << 0.0f << 5 << 3;
    QTest::newRow("negative first run") << 100.0f << -1.0f << 5 << 3;
    QTest::newRow("beyond 10000 m") << 10001.0f << 0.0f << 5 << 3;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0.0f << 5 << 3;
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
    ui.setRows({{"Sounder", "2"}, {"UNDEFINED", "5"}, {"Smoke", "3"}, {"Nonsense", "4"},
        {"Heat", "0"}, {"Heat", "1"}});
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("6"));
    ui.totalLength()->setText(QStringLiteral("600"));
    ui.firstRun()->setValue(60);
    ui.dialog.slotOk();
    QVERIFY2(ui.prompter.shown.isEmpty(), qPrintable(ui.prompter.shown.join('\n')));
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY(loop);
    QCOMPARE(typesOf(loop), QVector<int>({kSounder, kSounder, kSmoke, kSmoke, kSmoke, kHeat}));
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 60.0f);
    QCOMPARE(loop->child(5)->property(PropertyId::pos).toFloat(), 90.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 90.0f);
}

void TestLCLoopInfoDlg::totalFollowsGrid()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({{"Smoke", "150"}, {"Heat", "100"}});
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("250"));
    ui.grid()->item(1, 0)->setText(QStringLiteral("UNDEFINED"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("150"));
    ui.grid()->item(1, 0)->setText(QStringLiteral("heat"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("150"));
    ui.grid()->item(0, 1)->setText(QStringLiteral("7"));
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("7"));
}

void TestLCLoopInfoDlg::tooManyDevices()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.setRows({{"Smoke", "150"}, {"Heat", "100"}});
    ui.grid()->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown,
        QStringList({kInformation + "|The total device QTY should be not more than 242"}));
    QCOMPARE(QApplication::focusWidget(), ui.totalQuantity());
    QVERIFY(site.panel.isEmpty());
    QVERIFY(ui.dialog.isVisible());

    ui.prompter.shown.clear();
    ui.setRows({{"Smoke", "242"}, {"Heat", "1"}});
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("243"));
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown,
        QStringList({kInformation + "|The total device QTY should be not more than 242"}));
    QVERIFY(site.panel.isEmpty());
}

void TestLCLoopInfoDlg::mostDevices()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({{"Smoke", "241"}, {"Sounder", "1"}});
    ui.dialog.slotOk();
    QVERIFY(ui.prompter.shown.isEmpty());
    QCOMPARE(ui.dialog.createdLoop()->childCount(), 242);
    QCOMPARE(
        ui.dialog.createdLoop()->child(241)->property(PropertyId::deviceTypeid).toInt(), kSounder);

    Panel other(3);
    Dialog ui241(&other.panel);
    ui241.setRows({{"Heat", "241"}});
    ui241.dialog.slotOk();
    QCOMPARE(ui241.dialog.createdLoop()->childCount(), 241);
    QVERIFY(!ui241.dialog.createdLoop()->isFull());
}

void TestLCLoopInfoDlg::tooFewDevices()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.setRows({{"Smoke", "1"}, {"UNDEFINED", "5"}});
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown,
        QStringList({kInformation + "|The total device QTY should be not less than 2 "}));
    QCOMPARE(QApplication::focusWidget(), ui.totalQuantity());
    QVERIFY(site.panel.isEmpty());
}

void TestLCLoopInfoDlg::blankQuantity()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.totalQuantity()->clear();
    ui.totalLength()->clear();
    ui.dialog.slotOk();
    // the first blank field is named
    QCOMPARE(ui.prompter.shown, QStringList({kInfomation + "|Total Device QTY is blank!"}));
    QCOMPARE(QApplication::focusWidget(), ui.totalQuantity());
    QVERIFY(site.panel.isEmpty());
}

void TestLCLoopInfoDlg::blankLength()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.totalLength()->clear();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({kInfomation + "|Total loop lenth is blank!"}));
    QCOMPARE(QApplication::focusWidget(), ui.totalLength());
    QVERIFY(site.panel.isEmpty());
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
}

void TestLCLoopInfoDlg::lengthBeyondRange()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    // five digits pass the field while typing, though 10001 is more than it holds
    ui.totalLength()->clear();
    QTest::keyClicks(ui.totalLength(), QStringLiteral("10001"));
    QCOMPARE(ui.totalLength()->text(), QStringLiteral("10001"));
    ui.grid()->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown,
        QStringList({kInformation + "|Total loop length should be from 0 to 10000 m!"}));
    QCOMPARE(QApplication::focusWidget(), ui.totalLength());
    QVERIFY(site.panel.isEmpty());
}

void TestLCLoopInfoDlg::lengthValidator_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << "2500"
                            << "2500";
    QTest::newRow("minus refused") << "-50"
                                   << "50";
    QTest::newRow("letters refused") << "12ab"
                                     << "12";
    QTest::newRow("decimal point refused") << "12.5"
                                           << "125";
    QTest::newRow("at most five characters") << "1000000"
                                             << "10000";
}

void TestLCLoopInfoDlg::lengthValidator()
{
    QFETCH(QString, typed);
    Panel site(3);
    Dialog ui(&site.panel);
    ui.totalLength()->clear();
    QTest::keyClicks(ui.totalLength(), typed);
    QTEST(ui.totalLength()->text(), "shown");
}

void TestLCLoopInfoDlg::quantityEditor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("242") << "242" << true;
    QTest::newRow("243") << "243" << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("letters") << "1a" << false;
    QTest::newRow("four digits") << "1000" << false;
}

void TestLCLoopInfoDlg::quantityEditor()
{
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    Panel site(3);
    Dialog ui(&site.panel);
    auto *const delegate = qobject_cast<LCItemDelegate *>(ui.grid()->itemDelegateForColumn(1));
    QVERIFY(delegate);
    QCOMPARE(delegate->editorKind(), int(LCItemDelegate::EditorKind::Integer));
    QCOMPARE(delegate->view(), ui.grid());
    std::unique_ptr<QWidget> editor(delegate->createEditor(
        ui.grid()->viewport(), QStyleOptionViewItem(), ui.grid()->model()->index(0, 1)));
    auto *const line = qobject_cast<QLineEdit *>(editor.get());
    QVERIFY(line && line->validator());
    QString input = text;
    int position = 0;
    QCOMPARE(line->validator()->validate(input, position) == QValidator::Acceptable, acceptable);

    auto *const types = qobject_cast<LCItemDelegate *>(ui.grid()->itemDelegateForColumn(0));
    QVERIFY(types);
    QCOMPARE(types->editorKind(), int(LCItemDelegate::EditorKind::IconCombo));
}

void TestLCLoopInfoDlg::badGridQuantity()
{
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.setRows({{"Smoke", "5"}, {"Heat", "3x"}});
    // "3x" reads as no number at all, so it must not pass as 0
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({kInformation + "|Quantity should be from 0 to 242!"}));
    QCOMPARE(QApplication::focusWidget(), ui.grid());
    QCOMPARE(ui.grid()->currentRow(), 1);
    QCOMPARE(ui.grid()->currentColumn(), 1);
    QVERIFY(site.panel.isEmpty());
}

void TestLCLoopInfoDlg::duplicateLoop()
{
    Panel site(3, {1, 2});
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    ui.loopNumber()->setValue(2);
    ui.totalLength()->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({kInformation + "|Duplicate loop ID!"}));
    QCOMPARE(QApplication::focusWidget(), ui.loopNumber());
    QCOMPARE(site.loopNumbers(), QVector<int>({1, 2}));
    QCOMPARE(site.panel.loop(1)->childCount(), 0);
    QVERIFY(!ui.dialog.createdLoop());
}

void TestLCLoopInfoDlg::newLengthRestartsRun()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.firstRun()->setValue(1200);
    ui.totalLength()->clear();
    QTest::keyClicks(ui.totalLength(), QStringLiteral("2000"));
    QCOMPARE(ui.firstRun()->minimum(), 0);
    QCOMPARE(ui.firstRun()->maximum(), 2000);
    QCOMPARE(ui.slider()->maximum(), 2000);
    QCOMPARE(ui.firstRun()->value(), 0);
    QCOMPARE(ui.slider()->value(), 0);
    QCOMPARE(ui.slider()->singleStep(), 200);
    QCOMPARE(ui.slider()->pageStep(), 200);
    // the run can never be longer than the cable
    ui.firstRun()->setValue(2500);
    QCOMPARE(ui.firstRun()->value(), 2000);
}

void TestLCLoopInfoDlg::sliderAndSpinBoxAgree()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.slider()->setValue(900);
    QCOMPARE(ui.firstRun()->value(), 900);
    ui.firstRun()->setValue(1234);
    QCOMPARE(ui.slider()->value(), 1234);
    // the worst case: every device at the far end
    ui.slider()->setValue(ui.slider()->maximum());
    ui.dialog.slotOk();
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY(loop);
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 3000.0f);
    QCOMPARE(loop->child(241)->property(PropertyId::pos).toFloat(), 0.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 0.0f);
}

void TestLCLoopInfoDlg::cableTypeByPlace()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({{"Smoke", "2"}});
    ui.cableType()->setCurrentIndex(2);
    ui.dialog.slotOk();
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY(loop);
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), 3);
    QCOMPARE(loop->child(0)->property(PropertyId::CableType).toInt(), 3);
    QCOMPARE(loop->child(1)->property(PropertyId::CableType).toInt(), 3);
}

void TestLCLoopInfoDlg::emptyLibraryRefused()
{
    LCDataStore::instance()->setDeviceTypes({});
    Panel site(3);
    Dialog ui(&site.panel);
    QVERIFY(ui.active);
    // the quantity still says 242, but no row names a type
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("242"));
    QCOMPARE(ui.cell(0, 0), QString());
    ui.totalLength()->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown,
        QStringList({kInformation
            + "|There is no device type in the definitions. Please define device types first!"}));
    QCOMPARE(QApplication::focusWidget(), ui.grid());
    QVERIFY(site.panel.isEmpty());
    QVERIFY(!ui.dialog.createdLoop());
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
}

void TestLCLoopInfoDlg::addTypeMenu()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.setRows({{"Smoke", "2"}, {"Heat", "3"}});
    ui.grid()->setCurrentCell(1, 1);
    QCOMPARE(contextMenuOf(ui), QStringList({"none"}));
    ui.grid()->setCurrentCell(0, 0);
    QCOMPARE(contextMenuOf(ui), QStringList({"none"}));
    ui.grid()->setCurrentCell(1, 0);
    QCOMPARE(contextMenuOf(ui), QStringList({"Add Type"}));
}

void TestLCLoopInfoDlg::addTypeOnce()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.dialog.slotAddType();
    QCOMPARE(ui.grid()->rowCount(), 2);
    QCOMPARE(ui.cell(1, 0), QStringLiteral("UNDEFINED"));
    QCOMPARE(ui.cell(1, 1), QStringLiteral("0"));
    QVERIFY(ui.prompter.shown.isEmpty());
    // the new row counts for nothing
    QCOMPARE(ui.totalQuantity()->text(), QStringLiteral("242"));
    ui.dialog.slotAddType();
    QCOMPARE(ui.prompter.shown, QStringList({kInformation + "|Please fill type of current row!"}));
    QCOMPARE(ui.grid()->rowCount(), 2);
    ui.grid()->item(1, 0)->setText(QStringLiteral("Sounder"));
    ui.dialog.slotAddType();
    QCOMPARE(ui.grid()->rowCount(), 3);
}

void TestLCLoopInfoDlg::cancelCreatesNothing()
{
    Panel site(3);
    Dialog ui(&site.panel);
    ui.dialog.slotCancel();
    QCOMPARE(ui.dialog.result(), int(QDialog::Rejected));
    QVERIFY(site.panel.isEmpty());
    QVERIFY(ui.prompter.shown.isEmpty());
}

QTEST_MAIN(TestLCLoopInfoDlg)
#include "tst_lcloopinfodlg.moc"
