// mirel-bench-grids: times what the user of a full loop waits for in the device grid (the grid
// appearing when the loop is clicked, and one edit that sets the cable type of every device)
// against the same work done by Qt's own QStandardItemModel in a plain QTableView holding the
// same cells. Both run in the same process on the same data, so the ratio says what the grid
// models and views cost over Qt's stock parts. It paints real widgets, on the offscreen
// platform unless QT_QPA_PLATFORM names another; run it by hand from the build tree, since it
// reads the factory definitions and icons beside it.

#include "bench/lcbenchreporter.h"
#include "bench/lcgridsbench.h"
#include "bench/lcprocessmemory.h"
#include "bench/lcshuffledruns.h"
#include "definitions/lcdatastore.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace
{
using namespace LCGridsBench;

// Each figure is the median of this many repetitions of Google Benchmark's timed loop.
constexpr int kRepetitions = 9;
constexpr int kStepIterations = 200;
// Target: at most this multiple of the time Qt's stock model and view take for the same work.
constexpr double kMaxRatio = 2.0;

const char *const kDeviceGridShow = "device_grid_show";
const char *const kStandardGridShow = "standard_grid_show";
const char *const kDeviceGridCableEdit = "device_grid_cable_edit";
const char *const kStandardGridCableEdit = "standard_grid_cable_edit";
const char *const kDeviceGridCableUndo = "device_grid_cable_undo";
const char *const kDeviceGridCableRedo = "device_grid_cable_redo";
// Target: taking the edit back, or doing it again, at most this multiple of the edit itself.
constexpr double kMaxUndoRatio = 1.5;
// A stack of this many single-cell edits is weighed, to at most this many bytes a command.
constexpr int kWeighedCommands = 10000;
constexpr double kMaxBytesPerCommand = 200.0;

const char *const kPlatformVariable = "QT_QPA_PLATFORM";
const QByteArray kOffscreenPlatform = QByteArrayLiteral("offscreen");
const QString kSiteFile = QStringLiteral("site.xml");

// Timed by the process's CPU time: the work never waits, and on a shared machine the
// wall-clock time mostly measures the other programs.
benchmark::internal::Benchmark *asRepeatedRun(benchmark::internal::Benchmark *benchmark)
{
    return benchmark->Repetitions(kRepetitions)->Unit(benchmark::kMicrosecond);
}

// An edit, undo or redo takes well under a millisecond, but putting the loop back between two
// of them (untimed) takes far longer: a fixed count keeps the run to minutes.
benchmark::internal::Benchmark *asRepeatedStep(benchmark::internal::Benchmark *benchmark)
{
    return asRepeatedRun(benchmark)->Iterations(kStepIterations);
}

void registerShowBenchmarks(Grids &grids)
{
    asRepeatedRun(benchmark::RegisterBenchmark(kDeviceGridShow, [&grids](benchmark::State &state) {
        for (auto _ : state) {
            state.PauseTiming();
            detachModel(grids.deviceView);
            grids.deviceModel.setLoop(nullptr);
            state.ResumeTiming();
            grids.deviceModel.setLoop(grids.loop);
            grids.deviceView.setModel(&grids.deviceModel);
            setColumnWidths(grids.deviceView);
            paintOnce(grids.deviceView);
        }
        state.SetItemsProcessed(state.iterations() * grids.loop->childCount());
    }));

    asRepeatedRun(
        benchmark::RegisterBenchmark(kStandardGridShow, [&grids](benchmark::State &state) {
            for (auto _ : state) {
                state.PauseTiming();
                detachModel(grids.standardView);
                state.ResumeTiming();
                grids.standardView.setModel(&grids.standardModel);
                setColumnWidths(grids.standardView);
                paintOnce(grids.standardView);
            }
            state.SetItemsProcessed(state.iterations() * grids.standardModel.rowCount());
        }));
}

// What releasing the mouse over the selection and picking a cable does: the delegate's combo
// box, shown with the cell's text, set to the new cable and written into every selected cell.
bool editCableColumn(Grids &grids, const QModelIndex &last, const QStyleOptionViewItem &option)
{
    QWidget *const editor =
        grids.cableTypeDelegate.createEditor(grids.deviceView.viewport(), option, last);
    auto *const combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        delete editor;
        return false;
    }
    grids.cableTypeDelegate.setEditorData(editor, last);
    combo->setCurrentText(grids.newCableName);
    grids.cableTypeDelegate.setModelData(editor, &grids.deviceModel, last);
    // as the view closes an editor
    editor->hide();
    grids.cableTypeDelegate.destroyEditor(editor, last);
    return true;
}

// Undo or Redo of a step of values as the window takes it: the stack's step, then the grid
// reads its cells again. Painting and fitting the columns follow in the event loop, untimed, as
// they do after the edit.
void takeStep(Grids &grids, bool undo)
{
    if (undo) {
        grids.stack.undo();
    } else {
        grids.stack.redo();
    }
    grids.deviceModel.refreshCells();
}

void registerUndoBenchmarks(Grids &grids)
{
    for (const bool undo : {true, false}) {
        asRepeatedStep(
            benchmark::RegisterBenchmark(undo ? kDeviceGridCableUndo : kDeviceGridCableRedo,
                [&grids, undo](benchmark::State &state) {
                    showForEditing(grids);
                    const QModelIndex last =
                        grids.deviceModel.index(grids.deviceModel.rowCount() - 1, kCableTypeColumn);
                    QStyleOptionViewItem option;
                    option.rect = grids.deviceView.visualRect(last);
                    for (auto _ : state) {
                        state.PauseTiming();
                        restoreLoop(grids);
                        editCableColumn(grids, last, option);
                        if (!undo) {
                            grids.stack.undo();
                        }
                        QCoreApplication::processEvents();
                        state.ResumeTiming();
                        takeStep(grids, undo);
                    }
                    QCoreApplication::processEvents();
                    const bool done = undo ? cablesAsOpened(grids)
                                           : everyCableIs(*grids.loop, grids.newCableType);
                    if (grids.stack.count() != 1 || !done) {
                        state.SkipWithError("the step did not take the edit back or do it again");
                    }
                    state.SetItemsProcessed(state.iterations() * grids.loop->childCount());
                }));
    }
}

// Bytes a stack holding kWeighedCommands single-cell edits takes, per command.
double bytesPerCommand(Grids &grids)
{
    showForEditing(grids);
    restoreLoop(grids);
    const QStringList names = {grids.originalCableNames.front(), grids.newCableName};
    LCProcessMemory::releaseFreedMemory();
    const qint64 before = LCProcessMemory::residentBytes();
    for (int i = 0; i < kWeighedCommands; ++i) {
        // each edit changes the cable, so none is dropped as changing nothing
        const int row = i % grids.deviceModel.rowCount();
        grids.deviceModel.setData(grids.deviceModel.index(row, kCableTypeColumn),
            names.at((i / grids.deviceModel.rowCount() + 1) % 2));
    }
    LCProcessMemory::releaseFreedMemory();
    const qint64 after = LCProcessMemory::residentBytes();
    const int commands = grids.stack.count();
    restoreLoop(grids);
    return commands > 0 ? double(after - before) / commands : 0.0;
}

void registerEditBenchmarks(Grids &grids)
{
    asRepeatedStep(
        benchmark::RegisterBenchmark(kDeviceGridCableEdit, [&grids](benchmark::State &state) {
            showForEditing(grids);
            const long long notifiedBefore = grids.observer.count();
            const QModelIndex last =
                grids.deviceModel.index(grids.deviceModel.rowCount() - 1, kCableTypeColumn);
            QStyleOptionViewItem option;
            option.rect = grids.deviceView.visualRect(last);
            for (auto _ : state) {
                state.PauseTiming();
                restoreLoop(grids);
                state.ResumeTiming();
                if (!editCableColumn(grids, last, option)) {
                    state.SkipWithError("the cable column has no combo box");
                    break;
                }
            }
            if (!everyCableIs(*grids.loop, grids.newCableType)) {
                state.SkipWithError("the edit did not reach every device");
            } else if (grids.observer.count() == notifiedBefore) {
                state.SkipWithError("no observer heard of the edit");
            }
            state.SetItemsProcessed(state.iterations() * grids.loop->childCount());
        }));

    asRepeatedStep(
        benchmark::RegisterBenchmark(kStandardGridCableEdit, [&grids](benchmark::State &state) {
            showForEditing(grids);
            QStandardItemModel &model = grids.standardModel;
            const QVariant newText = grids.newCableName;
            for (auto _ : state) {
                state.PauseTiming();
                for (int row = 0; row < model.rowCount(); ++row) {
                    model.setData(model.index(row, kCableTypeColumn),
                        grids.originalCableNames[std::size_t(row)]);
                }
                QCoreApplication::processEvents();
                if (model.index(0, kCableTypeColumn).data() == newText) {
                    state.SkipWithError("the cells were not put back");
                    break;
                }
                state.ResumeTiming();
                const QModelIndexList selected =
                    grids.standardView.selectionModel()->selectedIndexes();
                for (const QModelIndex &cell : selected) {
                    model.setData(cell, newText, Qt::EditRole);
                }
            }
            for (int row = 0; row < model.rowCount(); ++row) {
                if (model.index(row, kCableTypeColumn).data() != newText) {
                    state.SkipWithError("the edit did not reach every cell");
                    break;
                }
            }
            state.SetItemsProcessed(state.iterations() * model.rowCount());
        }));
}

std::optional<double> ratio(const std::optional<LCBenchReporter::Figure> &figure,
    const std::optional<LCBenchReporter::Figure> &reference)
{
    if (!figure || !reference || reference->medianMilliseconds <= 0.0) {
        return std::nullopt;
    }
    return figure->medianMilliseconds / reference->medianMilliseconds;
}

void printTimeRow(const char *label, const std::optional<LCBenchReporter::Figure> &figure)
{
    if (!figure) {
        std::printf("%-44s %12s\n", label, "not run");
        return;
    }
    std::printf("%-44s %12.3f %12.3f %12.3f\n", label, figure->medianMilliseconds,
        figure->bestMilliseconds, figure->medianRealMilliseconds);
}

void printRatioRow(const char *label, std::optional<double> value, double target = kMaxRatio)
{
    if (!value) {
        std::printf("%-44s %12s\n", label, "no ratio");
        return;
    }
    std::printf("%-44s %12.2f   <= %-4.1f %s\n", label, *value, target,
        *value <= target ? "met" : "MISSED");
}

void printSummary(const LCBenchReporter &reporter, const Grids &grids, double commandBytes)
{
    std::printf("\nMirel grid benchmark summary: loop of %d devices (%d on branches, %d failed the "
                "check), view %dx%d, %s platform, %d repetitions each\n",
        grids.loop->childCount(), grids.branchDevices, grids.failedDevices, kViewWidthPixel,
        kViewHeightPixel, qPrintable(QGuiApplication::platformName()), kRepetitions);
    std::printf("%-44s %12s %12s %12s\n", "", "CPU median", "CPU best", "wall median");
    printTimeRow("show: setLoop + lay out + paint (LCTableView)", reporter.figure(kDeviceGridShow));
    printTimeRow("show: QStandardItemModel in a QTableView", reporter.figure(kStandardGridShow));
    printTimeRow(
        "edit: cable type of 241 cells (LCItemDelegate)", reporter.figure(kDeviceGridCableEdit));
    printTimeRow(
        "edit: 241 x QStandardItemModel::setData", reporter.figure(kStandardGridCableEdit));
    printTimeRow("undo: the cable edit, cells read again", reporter.figure(kDeviceGridCableUndo));
    printTimeRow("redo: the cable edit, cells read again", reporter.figure(kDeviceGridCableRedo));
    std::printf("%-44s %12s   %s\n", "", "x Qt", "target");
    printRatioRow("show the device grid",
        ratio(reporter.figure(kDeviceGridShow), reporter.figure(kStandardGridShow)));
    printRatioRow("multi-cell cable type edit",
        ratio(reporter.figure(kDeviceGridCableEdit), reporter.figure(kStandardGridCableEdit)));
    std::printf("%-44s %12s   %s\n", "", "x the edit", "target");
    printRatioRow("undo of the edit",
        ratio(reporter.figure(kDeviceGridCableUndo), reporter.figure(kDeviceGridCableEdit)),
        kMaxUndoRatio);
    printRatioRow("redo of the edit",
        ratio(reporter.figure(kDeviceGridCableRedo), reporter.figure(kDeviceGridCableEdit)),
        kMaxUndoRatio);
    std::printf("%-44s %12.0f   <= %-4.0f %s\n", "bytes per command, stack of 10,000 edits",
        commandBytes, kMaxBytesPerCommand, commandBytes <= kMaxBytesPerCommand ? "met" : "MISSED");
}
} // namespace

int main(int argc, char *argv[])
{
    // headless by default, so the figures do not depend on a desktop being there
    if (qEnvironmentVariableIsEmpty(kPlatformVariable)) {
        qputenv(kPlatformVariable, kOffscreenPlatform);
    }
    LCShuffledRuns runs(argc, argv);
    benchmark::Initialize(&runs.count(), runs.arguments());
    QApplication application(runs.count(), runs.arguments());
    if (benchmark::ReportUnrecognizedArguments(runs.count(), runs.arguments())) {
        return 1;
    }

    LCDataStore *const store = LCDataStore::instance();
    if (!store->loadDefaults()) {
        std::fprintf(
            stderr, "mirel-bench-grids: cannot read %s\n", qPrintable(store->defaultsFilePath()));
        return 1;
    }
    const QTemporaryDir directory;
    if (!directory.isValid()) {
        std::fprintf(stderr, "mirel-bench-grids: no temporary folder: %s\n",
            qPrintable(directory.errorString()));
        return 1;
    }

    Grids grids;
    if (!setUp(grids, directory.filePath(kSiteFile))) {
        return 1;
    }

    grids.deviceModel.setRecorder(&grids.recorder);
    registerShowBenchmarks(grids);
    registerEditBenchmarks(grids);
    registerUndoBenchmarks(grids);

    // colours only for a terminal, so a saved run reads cleanly
    LCBenchReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular,
        LCBenchReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printSummary(reporter, grids, bytesPerCommand(grids));
    return 0;
}
