#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcpanelsummary.h"
#include "report/ui/lccalculationsheet.h"
#include "report/ui/lcvoltagechart.h"

#include <QtCharts/QXYSeries>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace QtCharts;

namespace
{
const QString kCases = QStringLiteral(MIREL_SOURCE_DIR "/tests/data/check/");
const QString kSample = QStringLiteral(MIREL_SOURCE_DIR "/data/config/config.xml");
using Points = QVector<QPointF>;

// Loop loopRow of the first panel of a check case, calculated.
LCLoop *calculatedLoop(const QString &file, int loopRow)
{
    LCDataStore *const store = LCDataStore::instance();
    if (!store->loadProject(kCases + file).projectRead) {
        return nullptr;
    }
    LCController *const panel = store->project()->panel(0);
    LCPanelSummary::calculatePanel(*panel);
    return panel->loop(loopRow);
}

Points pointsOf(const QChart &chart, const QString &name)
{
    for (QAbstractSeries *series : chart.series()) {
        if (series->name() == name) {
            return static_cast<QXYSeries *>(series)->pointsVector();
        }
    }
    return {};
}
} // namespace

// What the check finds at each device, the chart drawn from it and the sheet printed of it.
class TestLCSheet : public QObject
{
    Q_OBJECT

private slots:
    void deviceResults_data();
    void deviceResults();
    void chartSeries();
    void pdfReadBack();
};

// The numbers are those worked by hand in the comments of the check cases.
void TestLCSheet::deviceResults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("loop");
    QTest::addColumn<QVector<float>>("volts");
    QTest::addColumn<QVector<float>>("currents");
    QTest::addColumn<QVector<float>>("metres");
    QTest::newRow("trunk, branch, trunk")
        << "branch-resumes-trunk.xml" << 0 << QVector<float>{23.94f, 23.92f, 23.92f}
        << QVector<float>{30, 20, 10} << QVector<float>{100, 150, 200};
    QTest::newRow("two branch devices from one trunk device")
        << "branch-resumes-trunk.xml" << 1 << QVector<float>{23.94f, 23.92f, 23.93f}
        << QVector<float>{30, 20, 10} << QVector<float>{100, 150, 200};
    QTest::newRow("relay pass from the panel's 24 V")
        << "relay-pass.xml" << 0 << QVector<float>{23.96f, 23.4f, 18.16f, 18.32f, 23.96f, 23.94f}
        << QVector<float>{20, 300, 292, 284, 10, 10}
        << QVector<float>{100, 200, 1200, 2200, 2210, 200};
    QTest::newRow("nothing left to flow past the beacons")
        << "sounders-outdraw-modules.xml" << 1
        << QVector<float>{23.96f, 23.94f, 23.94f, 23.94f, 23.94f} << QVector<float>{20, 10, 0, 0, 0}
        << QVector<float>{100, 200, 300, 400, 500};
}

void TestLCSheet::deviceResults()
{
    QFETCH(QString, file);
    QFETCH(int, loop);
    QFETCH(QVector<float>, volts);
    QFETCH(QVector<float>, currents);
    QFETCH(QVector<float>, metres);
    const LCLoop *const calculated = calculatedLoop(file, loop);
    QVERIFY(calculated);
    const std::vector<LCDeviceResult> results =
        LCLoopCalculator::fromLibrary().deviceResults(*calculated);
    QCOMPARE(int(results.size()), volts.size());
    for (int i = 0; i < volts.size(); ++i) {
        const LCDeviceResult &result = results[std::size_t(i)];
        QVERIFY2(std::abs(result.volt - volts.at(i)) < 0.0005f, qPrintable(QString::number(i)));
        QCOMPARE(result.currentLeftMilliAmp, currents.at(i));
        QCOMPARE(result.metre, metres.at(i));
    }
}

void TestLCSheet::chartSeries()
{
    const LCLoop *const loop = calculatedLoop(QStringLiteral("branch-resumes-trunk.xml"), 0);
    QVERIFY(loop);
    const std::unique_ptr<QChart> chart = LCVoltageChart::build(*loop);
    QVERIFY(chart);
    const Points trunk = pointsOf(*chart, LCVoltageChart::trunkName());
    QCOMPARE(trunk.size(), 3);
    QCOMPARE(trunk.at(0), QPointF(0, 24));
    QCOMPARE(trunk.at(2).x(), 200.0);
    QVERIFY(std::abs(trunk.at(1).y() - 23.94) < 0.0005);
    // the branch leaves the trunk device before it
    const Points branch = pointsOf(*chart, LCVoltageChart::branchName(1));
    QCOMPARE(branch.size(), 2);
    QCOMPARE(branch.at(0), trunk.at(1));
    QCOMPARE(branch.at(1).x(), 150.0);
    QVERIFY(pointsOf(*chart, LCVoltageChart::failedName()).isEmpty());

    // a failing loop draws its failed devices; a loop made stale draws nothing
    LCLoop *const failing = calculatedLoop(QStringLiteral("trunk-failure-stops-walk.xml"), 0);
    QVERIFY(failing);
    QVERIFY(!pointsOf(*LCVoltageChart::build(*failing), LCVoltageChart::failedName()).isEmpty());
    failing->child(0)->setProperty(PropertyId::pos, 1.0f);
    QVERIFY(!LCVoltageChart::build(*failing));
}

void TestLCSheet::pdfReadBack()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    QVERIFY(LCDataStore::instance()->loadProject(kSample).projectRead);
    LCProject *const project = LCDataStore::instance()->project();
    for (int i = 0; i < project->childCount(); ++i) {
        LCPanelSummary::calculatePanel(*project->panel(i));
    }
    QString error;
    QVERIFY2(LCCalculationSheet::writePdf(*project, pdf, &error), qPrintable(error));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished());
    const QString pages = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(pages.contains(QRegularExpression("Pages:\\s+1[0-9]\\n")), qPrintable(pages));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString sheet = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &expected :
        {QStringLiteral("Calculation Sheet"), QStringLiteral("Larchmere Hospital East Wing"),
            QStringLiteral("Panel 1-Orvan-D50"), QStringLiteral("Sorry, Loop 4 may not work well."),
            QStringLiteral("Volt Drop : 8.24V"), QStringLiteral("Loop4 Solution"),
            QStringLiteral("Page 2"), QStringLiteral("Loop1, devices (continued)")}) {
        QVERIFY2(sheet.contains(expected), qPrintable(expected));
    }
    QVERIFY(sheet.contains(QRegularExpression("Loop4 Error\\s+Volt lost too large\\.")));
    // a row of loop 4's device table: the failing sounder at location 16
    QVERIFY(sheet.contains(QRegularExpression("\\n\\s*16\\s+Trunk\\s+Sounder\\s+Red-Body\\s+\\S+"
                                              "\\s+23\\.0\\s+19\\.\\d\\d\\s+20\\s+fail")));
}

QTEST_MAIN(TestLCSheet)
#include "tst_lcsheet.moc"
