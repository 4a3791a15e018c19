#include "../app/scriptedprompter.h"
#include "definitions/lcdatastore.h"
#include "grids/ui/lccontrollerinfodlg.h"
#include "model/lccontroller.h"
#include "model/lcproject.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace
{
const QString kInformation = QStringLiteral("Information");
constexpr int kSlotted = 5;

// Makes a project holding panels with these numbers the current one.
LCProject *useProject(const QVector<int> &panelNumbers)
{
    auto project = std::make_unique<LCProject>();
    for (const int number : panelNumbers) {
        auto panel = std::make_unique<LCController>(project.get());
        panel->storeProperty(PropertyId::Panelid, number);
        panel->storeProperty(PropertyId::PanelType, 1);
        project->insertChild(std::move(panel));
    }
    LCProject *const pointer = project.get();
    LCDataStore::instance()->setProject(std::move(project));
    return pointer;
}

QVector<int> panelNumbers(const LCProject *project)
{
    QVector<int> numbers;
    for (int i = 0; i < project->childCount(); ++i) {
        numbers << project->child(i)->property(PropertyId::Panelid).toInt();
    }
    return numbers;
}

// The dialog as the user sees it, shown so that focus can be checked.
struct Dialog {
    Dialog()
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
    QComboBox *combo(const char *name) const { return field<QComboBox>(name); }
    QSpinBox *number() const { return field<QSpinBox>("panelNumber"); }
    void chooseType(int type)
    {
        combo("panelType")->setCurrentText(LCDataStore::instance()->panelTypes().value(type));
    }

    ScriptedPrompter prompter;
    LCControllerInfoDlg dialog{prompter};
    bool active = false;
};
} // namespace

class TestLCControllerInfoDlg : public QObject
{
    Q_OBJECT

private slots:
    void proposedNumber_data();
    void proposedNumber();
    void duplicateNumber();
    void unreadableNumber();
    void createsSlottedPanel();
    void switchingBackClearsCardFields();
    void cancelCreatesNothing();
};

void TestLCControllerInfoDlg::proposedNumber_data()
{
    QTest::addColumn<QVector<int>>("panels");
    QTest::addColumn<int>("proposed");
    QTest::newRow("gap at 3") << QVector<int>{1, 2, 4} << 3;
    QTest::newRow("after the last") << QVector<int>{1, 2} << 3;
    QTest::newRow("gap at 1") << QVector<int>{2, 3} << 1;
}

void TestLCControllerInfoDlg::proposedNumber()
{
    QFETCH(QVector<int>, panels);
    LCProject *const project = useProject(panels);
    Dialog ui;
    QTEST(ui.number()->value(), "proposed");

    // Ok at once adds the proposed panel in its place
    ui.dialog.slotOk();
    QCOMPARE(ui.dialog.result(), int(QDialog::Accepted));
    QVERIFY(ui.prompter.shown.isEmpty());
    QVector<int> expected = panels;
    expected << ui.number()->value();
    std::sort(expected.begin(), expected.end());
    QCOMPARE(panelNumbers(project), expected);
    QCOMPARE(ui.dialog.createdPanel()->property(PropertyId::LoopCardCount).toInt(), 1);
}

void TestLCControllerInfoDlg::duplicateNumber()
{
    LCProject *const project = useProject({1, 2, 4});
    Dialog ui;
    QVERIFY(ui.active);
    ui.number()->setValue(2);
    ui.field<QLineEdit>("panelDetails")->setText(QStringLiteral("kept"));
    ui.field<QLineEdit>("panelDetails")->setFocus();
    ui.dialog.slotOk();
    QCOMPARE(ui.prompter.shown, QStringList({kInformation + "|Duplicate Panel No.!"}));
    QCOMPARE(panelNumbers(project), QVector<int>({1, 2, 4}));
    QVERIFY(ui.dialog.isVisible());
    QVERIFY(!ui.dialog.createdPanel());
    QCOMPARE(QApplication::focusWidget(), ui.number());
    QCOMPARE(ui.field<QLineEdit>("panelDetails")->text(), QStringLiteral("kept"));

    // corrected, it goes through
    ui.number()->setValue(3);
    ui.dialog.slotOk();
    QCOMPARE(panelNumbers(project), QVector<int>({1, 2, 3, 4}));
}

void TestLCControllerInfoDlg::unreadableNumber()
{
    LCProject *const project = useProject({1});
    Dialog ui;
    QVERIFY(ui.active);
    QLineEdit *const text = ui.number()->findChild<QLineEdit *>();
    // typing beyond the range is refused while typing
    ui.number()->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("251"));
    QCOMPARE(ui.number()->cleanText(), QStringLiteral("25"));
    // Ok reached while the box is being edited: it still holds 25 while its text says nothing
    text->clear();
    QCOMPARE(ui.number()->value(), 25);
    ui.dialog.slotOk();
    QCOMPARE(
        ui.prompter.shown, QStringList({kInformation + "|Panel No. should be from 1 to 250!"}));
    QCOMPARE(QApplication::focusWidget(), ui.number());
    QCOMPARE(project->childCount(), 1);
    // Enter puts the box back to its number, which is then the one taken
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(ui.number()->text(), QStringLiteral("25"));
    QCOMPARE(panelNumbers(project), QVector<int>({1, 25}));
}

void TestLCControllerInfoDlg::createsSlottedPanel()
{
    LCProject *const project = useProject({1});
    Dialog ui;
    ui.chooseType(kSlotted);
    ui.combo("loopCards")->setCurrentText(QStringLiteral("3"));
    ui.combo("zcpCards")->setCurrentText(QStringLiteral("5"));
    ui.combo("mainCards")->setCurrentText(QStringLiteral("1"));
    ui.combo("canCards")->setCurrentText(QStringLiteral("2"));
    ui.combo("modbusCards")->setCurrentText(QStringLiteral("1"));
    ui.combo("slot1")->setCurrentText(QStringLiteral("Optical Card"));
    ui.combo("slot2")->setCurrentText(QStringLiteral("Hyper Network"));
    ui.field<QLineEdit>("panelDetails")->setText(QStringLiteral("  Plant room\t"));
    ui.dialog.slotOk();
    QCOMPARE(ui.dialog.result(), int(QDialog::Accepted));
    const LCController *const panel = ui.dialog.createdPanel();
    QCOMPARE(project->child(1), panel);
    const auto stored = [panel](PropertyId id) { return panel->property(id); };
    QCOMPARE(stored(PropertyId::Panelid).toInt(), 2);
    QCOMPARE(stored(PropertyId::PanelType).toInt(), kSlotted);
    QCOMPARE(stored(PropertyId::LoopCardCount).toInt(), 3);
    QCOMPARE(stored(PropertyId::CommCount).toInt(), 0);
    QCOMPARE(stored(PropertyId::ManualPanelCount).toInt(), 5);
    QCOMPARE(stored(PropertyId::MainCardCount).toInt(), 1);
    QCOMPARE(stored(PropertyId::CANCardCount).toInt(), 2);
    QCOMPARE(stored(PropertyId::ModbusCardCount).toInt(), 1);
    QCOMPARE(stored(PropertyId::Slot1CardType).toInt(), 11);
    QCOMPARE(stored(PropertyId::Slot2CardType).toInt(), 12);
    QCOMPARE(stored(PropertyId::PanelNote), QVariant(QStringLiteral("Plant room")));
}

void TestLCControllerInfoDlg::switchingBackClearsCardFields()
{
    useProject({});
    Dialog ui;
    ui.chooseType(kSlotted);
    ui.combo("zcpCards")->setCurrentText(QStringLiteral("4"));
    ui.combo("slot1")->setCurrentText(QStringLiteral("Optical Card"));
    ui.chooseType(3);
    QVERIFY(!ui.dialog.findChild<QWidget *>("slotSection")->isVisible());
    // blank details are stored empty
    ui.field<QLineEdit>("panelDetails")->setText(QStringLiteral("    "));
    ui.combo("commCards")->setCurrentText(QStringLiteral("3"));
    ui.combo("loopCards")->setCurrentText(QStringLiteral("2"));
    ui.dialog.slotOk();
    const LCController *const panel = ui.dialog.createdPanel();
    QVERIFY(panel);
    QCOMPARE(panel->property(PropertyId::PanelType).toInt(), 3);
    QCOMPARE(panel->property(PropertyId::CommCount).toInt(), 3);
    QCOMPARE(panel->property(PropertyId::LoopCardCount).toInt(), 2);
    QCOMPARE(panel->property(PropertyId::PanelNote), QVariant(QString()));
    for (const PropertyId id :
        {PropertyId::ManualPanelCount, PropertyId::MainCardCount, PropertyId::CANCardCount,
            PropertyId::ModbusCardCount, PropertyId::Slot1CardType, PropertyId::Slot2CardType}) {
        QCOMPARE(panel->property(id), QVariant(0));
    }
}

void TestLCControllerInfoDlg::cancelCreatesNothing()
{
    LCProject *const project = useProject({1});
    Dialog ui;
    ui.dialog.findChild<QPushButton *>("cancelButton")->click();
    QVERIFY(!ui.dialog.isVisible());
    QCOMPARE(project->childCount(), 1);
    QVERIFY(ui.prompter.shown.isEmpty());
}

QTEST_MAIN(TestLCControllerInfoDlg)
#include "tst_lccontrollerinfodlg.moc"
