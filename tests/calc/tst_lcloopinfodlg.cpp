#include "../app/scriptedprompter.h"
#include "calcfixture.h"

#include "calc/ui/lcloopinfodlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

namespace
{
const QString kInformation = QStringLiteral("Information|");

// The dialog on the fixture's panel as the user sees it, shown so that focus can be checked.
struct Dialog {
    // the dialog reads the fixture's library as it opens
    explicit Dialog(const CalcFixture &site)
        : dialog((site.useAsLibrary(), site.panel), prompter)
    {
        dialog.show();
        dialog.activateWindow();
        active = QTest::qWaitForWindowActive(&dialog);
    }
    template <typename Widget = QWidget>
    Widget *field(const QString &name) const
    {
        return dialog.findChild<Widget *>(name);
    }
    QTableWidget *grid() const { return field<QTableWidget>("deviceTypes"); }
    QString total() const { return field<QLineEdit>("totalQuantity")->text(); }
    // Sets the grid to rows given as "type=quantity".
    void setRows(const QStringList &rows) const
    {
        grid()->setRowCount(rows.size());
        for (int row = 0; row < rows.size(); ++row) {
            grid()->setItem(row, 0, new QTableWidgetItem(rows.at(row).section('=', 0, 0)));
            grid()->setItem(row, 1, new QTableWidgetItem(rows.at(row).section('=', 1)));
        }
    }
    void typeLength(const QString &text) const
    {
        field<QLineEdit>("totalLength")->clear();
        QTest::keyClicks(field<QLineEdit>("totalLength"), text);
    }

    ScriptedPrompter prompter;
    LCLoopInfoDlg dialog;
    bool active = false;
};
} // namespace

class TestLCLoopInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void okAtOnce_data();
    void okAtOnce();
    void createLoop_data();
    void createLoop();
    void gridRowsMakeDevices();
    void editOpenWhenClosed();
    void ok_data();
    void ok();
};

void TestLCLoopInfoDlg::okAtOnce_data()
{
    // the panel's type and loops, the highest loop number offered and the one proposed
    QTest::addColumn<int>("type");
    QTest::addColumn<QVector<int>>("loops");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("proposed");
    QTest::newRow("type 3: the lowest free") << 3 << QVector<int>{1, 2, 4} << 10 << 3;
    QTest::newRow("type 5: six loops at most") << 5 << QVector<int>() << 6 << 1;
    // no number is free: the lowest is shown, and Ok refused
    QTest::newRow("type 1, full") << 1 << QVector<int>{1, 2} << 2 << 1;
}

void TestLCLoopInfoDlg::okAtOnce()
{
    QFETCH(int, type);
    QFETCH(QVector<int>, loops);
    QFETCH(int, proposed);
    CalcFixture site(type, loops);
    Dialog ui(site);
    QTEST(ui.field<QSpinBox>("loopNumber")->maximum(), "maximum");
    QCOMPARE(ui.field<QSpinBox>("loopNumber")->value(), proposed);
    if (loops.contains(proposed)) {
        return;
    }
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList());
    const LCLoop *const loop = site.panel->findLoop(proposed);
    QCOMPARE(ui.dialog.createdLoop(), loop);
    // 242 devices of the first type on the first cable
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), CalcFixture::kThinCable);
    QCOMPARE(CalcFixture::childValues(loop, PropertyId::deviceTypeid),
        QVector<int>(242, CalcFixture::kDetector).toList());
    // 3000 m, the first device at the panel
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 0.0f);
    QCOMPARE(loop->child(1)->property(PropertyId::pos).toFloat(), 3000.0f / 242.0f);
}

void TestLCLoopInfoDlg::createLoop_data()
{
    // a plan for loop 4 and what every device after the first gets (-1: refused, nothing made)
    QTest::addColumn<float>("total");
    QTest::addColumn<float>("firstRun");
    QTest::addColumn<int>("devices");
    QTest::addColumn<float>("share");
    const auto row = [](const char *name, float total, float firstRun, int devices, float share) {
        QTest::newRow(name) << total << firstRun << devices << share;
    };
    row("best case: the first at the panel, 1000 / 10", 1000.0f, 0.0f, 10, 100.0f);
    row("worst case: all at the far end", 1000.0f, 1000.0f, 10, 0.0f);
    row("242 devices, halfway", 3000.0f, 1500.0f, 242, 1500.0f / 242.0f);
    row("no devices", 100.0f, 0.0f, 0, -1.0f);
    row("243 devices", 3000.0f, 0.0f, 243, -1.0f);
    row("first run beyond the cable", 100.0f, 101.0f, 5, -1.0f);
    row("beyond 10000 m", 10001.0f, 0.0f, 5, -1.0f);
    row("negative length", -1.0f, -1.0f, 5, -1.0f);
}

void TestLCLoopInfoDlg::createLoop()
{
    QFETCH(float, total);
    QFETCH(float, firstRun);
    QFETCH(int, devices);
    QFETCH(float, share);
    CalcFixture site(5, {1});
    const LCLoop *const loop = LCLoopInfoDlg::createLoop(
        *site.panel, {4, 4, total, firstRun, QVector<int>(devices, CalcFixture::kModule)});
    QCOMPARE(site.loopNumbers(), share < 0.0f ? QList<int>{1} : QList<int>({1, 4}));
    if (share < 0.0f) {
        return;
    }
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), firstRun);
    QVERIFY(qAbs(loop->child(devices - 1)->property(PropertyId::pos).toFloat() - share) < 1e-3f);
    QVERIFY(qAbs(loop->property(PropertyId::LastDis).toFloat() - share) < 1e-3f);
    QCOMPARE(loop->child(devices - 1)->property(PropertyId::CableType).toInt(), 4);
    // nothing lost or gained: the lengths add up to the whole cable
    QVERIFY(qAbs(loop->totalCableLength() - total) <= 1e-3f * total);
}

void TestLCLoopInfoDlg::gridRowsMakeDevices()
{
    CalcFixture site(3, {});
    Dialog ui(site);
    QCOMPARE(ui.total(), QStringLiteral("242"));
    // names match exactly; rows of no known type count for nothing
    ui.setRows({"Sounder=2", "Smoke=3", "module=0", "Module=0", "Module=1"});
    QCOMPARE(ui.total(), QStringLiteral("6"));
    // "Add Type" adds a row, and no other until it has a type
    ui.dialog.slotAddType();
    ui.dialog.slotAddType();
    QCOMPARE(ui.prompter.shown, QStringList{kInformation + "Please fill type of current row!"});
    QCOMPARE(ui.grid()->item(5, 0)->text(), QStringLiteral("UNDEFINED"));
    ui.grid()->item(5, 0)->setText(QStringLiteral("Heavy"));
    ui.grid()->item(5, 1)->setText(QStringLiteral("1"));
    QCOMPARE(ui.total(), QStringLiteral("7"));
    ui.typeLength(QStringLiteral("760"));
    ui.field<QSpinBox>("firstRun")->setValue(60);
    // the third cable has id 9; its place in the list would name one that does not exist
    ui.field<QComboBox>("cableType")->setCurrentIndex(2);
    ui.dialog.slotOk();
    const LCLoop *const loop = ui.dialog.createdLoop();
    QVERIFY2(loop, qPrintable(ui.prompter.shown.join('\n')));
    QCOMPARE(CalcFixture::childValues(loop, PropertyId::deviceTypeid),
        QList<int>({15, 15, 1, 1, 1, 10, 11}));
    QCOMPARE(loop->property(PropertyId::LoopCableType).toInt(), CalcFixture::kHeavyCable);
    QCOMPARE(loop->child(6)->property(PropertyId::CableType).toInt(), CalcFixture::kHeavyCable);
    // (760 - 60) / 7 = 100 m after the first and back to the panel
    QCOMPARE(loop->child(0)->property(PropertyId::pos).toFloat(), 60.0f);
    QCOMPARE(loop->child(6)->property(PropertyId::pos).toFloat(), 100.0f);
    QCOMPARE(loop->property(PropertyId::LastDis).toFloat(), 100.0f);
}

void TestLCLoopInfoDlg::editOpenWhenClosed()
{
    // an edit still open when the dialog goes commits on the way out, and must not reach the
    // half-destroyed dialog (the sanitizer build sees it)
    CalcFixture site(3, {});
    auto ui = std::make_unique<Dialog>(site);
    QVERIFY(ui->active);
    ui->grid()->setFocus();
    ui->grid()->setCurrentCell(0, 1);
    ui->grid()->editItem(ui->grid()->item(0, 1));
    auto *const editor = ui->grid()->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor && editor->hasFocus());
    editor->setText(QStringLiteral("9"));
    ui.reset();
}

void TestLCLoopInfoDlg::ok_data()
{
    // what the user does before Ok: the grid set as "type=quantity", fields emptied, a loop
    // number chosen, a library without types, or a length typed in a locale with the metres it
    // stands for; then the box Ok shows (none: the loop is made), the field given the focus and
    // the grid column made current in row 1
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("gridColumn");
    const auto row = [](const char *name, const char *input, const QString &message = QString(),
                         const char *focus = "", int column = -1) {
        QTest::newRow(name) << input << message << focus << column;
    };
    row("250 devices", "grid Smoke=150 Module=100",
        kInformation + "The total device QTY should be not more than 242", "totalQuantity");
    row("1 device, rows without devices not counted", "grid Smoke=1 UNDEFINED=0",
        kInformation + "The total device QTY should be not less than 2 ", "totalQuantity");
    // not "not less than 2": the total leaves the row out
    row("type name not in the library", "grid Smoke=5 smoke=237",
        kInformation + "The device type \"smoke\" is not in the library!", "deviceTypes", 0);
    row("grid quantity 3x", "grid Smoke=5 Module=3x",
        kInformation + "Quantity should be from 0 to 242!", "deviceTypes", 1);
    row("blank quantity named first", "empty totalQuantity totalLength",
        "Infomation|Total Device QTY is blank!", "totalQuantity");
    row("blank length", "empty totalLength", "Infomation|Total loop lenth is blank!",
        "totalLength");
    row("duplicate loop", "loop 2", kInformation + "Duplicate loop ID!", "loopNumber");
    row("no device types", "lacking devices",
        "Information|There is no device type in the definitions. Please define device types "
        "first!",
        "deviceTypes");
    row("no cable types", "lacking cables",
        "Information|There is no cable type in the definitions. Please define cable types first!",
        "cableType");
    row("English group separator", "length en_US 2,000 2000");
    row("10,000 fits", "length en_US 10,000 10000");
    row("German group separator", "length de_DE 2.000 2000");
    row("plain digits in German", "length de_DE 2000 2000");
    // left as typed, not rewritten to 2,000 when the field loses the focus
    const QString badLength = kInformation + "Total loop length should be from 0 to 10000 m!";
    row("misplaced separator refused", "length en_US 20,00 0", badLength, "totalLength");
    row("10001 refused", "length en_US 10001 0", badLength, "totalLength");
}

void TestLCLoopInfoDlg::ok()
{
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(int, gridColumn);
    const QStringList words = input.split(' ');
    const QString action = words.first();
    const auto restore = qScopeGuard([previous = QLocale()]() { QLocale::setDefault(previous); });
    CalcFixture site(3, {1, 2});
    if (input == QLatin1String("lacking devices")) {
        site.deviceTypes.clear();
    } else if (input == QLatin1String("lacking cables")) {
        site.wireTypes.clear();
    } else if (action == QLatin1String("length")) {
        QLocale::setDefault(QLocale(words.at(1)));
    }
    Dialog ui(site);
    QVERIFY(ui.active);
    if (action == QLatin1String("grid")) {
        ui.setRows(words.mid(1));
    } else if (action == QLatin1String("empty")) {
        for (const QString &name : words.mid(1)) {
            ui.field<QLineEdit>(name)->clear();
        }
    } else if (action == QLatin1String("loop")) {
        ui.field<QSpinBox>("loopNumber")->setValue(words.at(1).toInt());
    } else if (action == QLatin1String("length")) {
        ui.setRows({"Smoke=2"});
        // the slider and the spin box show one value; an arrow key moves it a tenth of the
        // 3000 m the dialog starts with; a new length restarts the run, which may go as far as
        // the length read, in tenths
        auto *const slider = ui.field<QSlider>("distribution");
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(ui.field<QSpinBox>("firstRun")->value(), 300);
        ui.field("totalLength")->setFocus();
        ui.typeLength(words.at(2));
        const int metres = words.at(3).toInt();
        QCOMPARE(ui.field<QSpinBox>("firstRun")->value(), 0);
        QCOMPARE(slider->maximum(), metres);
        QVERIFY(metres == 0 || slider->pageStep() == metres / 10);
    }
    // the click takes the focus from the field, as a user's would
    QTest::mouseClick(ui.field("okButton"), Qt::LeftButton);
    if (action == QLatin1String("length")) {
        QCOMPARE(ui.field<QLineEdit>("totalLength")->text(), words.at(2));
    }
    if (message.isEmpty()) {
        QVERIFY2(ui.dialog.createdLoop(), qPrintable(ui.prompter.shown.join('\n')));
        QCOMPARE(ui.dialog.createdLoop()->totalCableLength(), words.at(3).toFloat());
        return;
    }
    QCOMPARE(ui.prompter.shown, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), ui.field(focus));
    if (gridColumn >= 0) {
        QCOMPARE(ui.grid()->currentRow(), 1);
        QCOMPARE(ui.grid()->currentColumn(), gridColumn);
    }
    QCOMPARE(site.loopNumbers(), QList<int>({1, 2}));
    QCOMPARE(site.panel->loop(1)->childCount(), 0);
    QVERIFY(ui.dialog.isVisible() && !ui.dialog.createdLoop());
}

QTEST_MAIN(TestLCLoopInfoDlg)
#include "tst_lcloopinfodlg.moc"
