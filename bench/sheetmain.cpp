// mirel-bench-sheet: times the calculation sheet of a full panel of the generated site (20 loops
// of 241 devices, with their 20 charts) against the floor for this kind of output: a plain
// QTextDocument holding one table of the same 4,820 device rows, printed to PDF by QPdfWriter.
// Both run in the same process. It also weighs what writing the sheet holds in memory, for one
// panel and for four: pages are painted as they go, so the figure must not grow with panels.

#include "bench/lcbenchreporter.h"
#include "bench/lcprocessmemory.h"
#include "bench/lcsampleproject.h"
#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "report/lcpanelsummary.h"
#include "report/ui/lccalculationsheet.h"

#include <QApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <unistd.h>

namespace
{
constexpr int kLoopsPerPanel = 20;
constexpr int kDevicesPerLoop = LCLoop::kMaxDevices;
constexpr int kTableColumns = 9;
constexpr int kRepetitions = 5;
constexpr double kMaxRatio = 2.0;
constexpr int kWeighedPanels = 4;
const char *const kSheet = "calculation_sheet_of_a_panel";
const char *const kPlainTable = "plain_table_to_pdf";
const char *const kPlatformVariable = "QT_QPA_PLATFORM";

std::unique_ptr<LCProject> calculatedSite(int panels)
{
    std::unique_ptr<LCProject> project =
        LCSampleProject::build({panels, kLoopsPerPanel, kDevicesPerLoop});
    for (int i = 0; i < project->childCount(); ++i) {
        LCPanelSummary::calculatePanel(*project->panel(i));
    }
    return project;
}

// The rows the sheet's device tables hold, as plain texts.
QVector<QStringList> deviceRows(const LCProject &project)
{
    QVector<QStringList> rows;
    const LCLoopCalculator calculator = LCLoopCalculator::fromLibrary();
    const LCController &panel = *project.panel(0);
    for (int i = 0; i < panel.childCount(); ++i) {
        const LCLoop &loop = *panel.loop(i);
        const std::vector<LCDeviceResult> results = calculator.deviceResults(loop);
        for (int row = 0; row < loop.childCount(); ++row) {
            const LCObject &device = *loop.child(row);
            const LCDeviceResult &result = results[std::size_t(row)];
            rows.append({QString::number(row + 1), QStringLiteral("Trunk"),
                QString::number(device.property(PropertyId::deviceTypeid).toInt()),
                QStringLiteral("Standard-Base"),
                QString::number(device.property(PropertyId::CableType).toInt()),
                QString::number(double(device.property(PropertyId::pos).toFloat()), 'f', 1),
                QString::number(double(result.volt), 'f', 2),
                QString::number(double(result.limitVolt), 'f', 0), QStringLiteral("pass")});
        }
    }
    return rows;
}

void printPlainTable(const QVector<QStringList> &rows, const QString &path)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    QTextTable *const table = cursor.insertTable(rows.size() + 1, kTableColumns, format);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < kTableColumns; ++column) {
            table->cellAt(row + 1, column).firstCursorPosition().insertText(rows[row][column]);
        }
    }
    QPdfWriter writer(path);
    document.print(&writer);
}

// How much the resident set grows while the sheet of panels panels is written.
double sheetMegabytes(int panels, const QString &path)
{
    const std::unique_ptr<LCProject> project = calculatedSite(panels);
    LCProcessMemory::releaseFreedMemory();
    const qint64 before = LCProcessMemory::residentBytes();
    QString error;
    (void)LCCalculationSheet::writePdf(*project, path, &error);
    const qint64 after = LCProcessMemory::residentBytes();
    return double(after - before) / (1024.0 * 1024.0);
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty(kPlatformVariable)) {
        qputenv(kPlatformVariable, QByteArrayLiteral("offscreen"));
    }
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    LCDataStore *const store = LCDataStore::instance();
    if (!store->loadDefaults()) {
        std::fprintf(
            stderr, "mirel-bench-sheet: cannot read %s\n", qPrintable(store->defaultsFilePath()));
        return 1;
    }
    const QTemporaryDir directory;
    const std::unique_ptr<LCProject> site = calculatedSite(1);
    const QVector<QStringList> rows = deviceRows(*site);
    const QString sheetPath = directory.filePath(QStringLiteral("sheet.pdf"));
    const QString tablePath = directory.filePath(QStringLiteral("table.pdf"));

    benchmark::RegisterBenchmark(kSheet,
        [&](benchmark::State &state) {
            for (auto _ : state) {
                QString error;
                if (!LCCalculationSheet::writePdf(*site, sheetPath, &error)) {
                    state.SkipWithError(qPrintable(error));
                    break;
                }
            }
        })
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(kPlainTable,
        [&](benchmark::State &state) {
            for (auto _ : state) {
                printPlainTable(rows, tablePath);
            }
        })
        ->Repetitions(kRepetitions)
        ->Unit(benchmark::kMillisecond);

    LCBenchReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular,
        LCBenchReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto sheet = reporter.figure(kSheet);
    const auto table = reporter.figure(kPlainTable);
    std::printf("\nMirel sheet benchmark summary: one panel of %d loops x %d devices\n",
        kLoopsPerPanel, kDevicesPerLoop);
    if (sheet && table && table->medianMilliseconds > 0.0) {
        const double ratio = sheet->medianMilliseconds / table->medianMilliseconds;
        std::printf("%-48s %10.1f ms (wall %.1f)\n", "sheet of the panel, 20 charts",
            sheet->medianMilliseconds, sheet->medianRealMilliseconds);
        std::printf("%-48s %10.1f ms (wall %.1f)\n", "QTextDocument table of 4,820 rows",
            table->medianMilliseconds, table->medianRealMilliseconds);
        std::printf("%-48s %10.2f   <= %.1f %s\n", "x the plain table", ratio, kMaxRatio,
            ratio <= kMaxRatio ? "met" : "MISSED");
    }
    const double one = sheetMegabytes(1, sheetPath);
    const double many = sheetMegabytes(kWeighedPanels, sheetPath);
    std::printf("%-48s %10.1f MB\n", "memory taken while writing, 1 panel", one);
    std::printf("%-48s %10.1f MB\n", "memory taken while writing, 4 panels", many);
    return 0;
}
