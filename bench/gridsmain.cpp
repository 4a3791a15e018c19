// mirel-bench-grids: times what the user of a full loop waits for in the device grid (the grid
// appearing when the loop is clicked, and one edit that sets the cable type of every device)
// against the same work done by Qt's own QStandardItemModel in a plain QTableView holding the
// same cells. Both run in the same process on the same data, so the ratio says what the grid
// models and views cost over Qt's stock parts. It paints real widgets, on the offscreen
// platform unless QT_QPA_PLATFORM names another; run it by hand from the build tree, since it
// reads the factory definitions and icons beside it.

#include "app/lcundorecorder.h"
#include "bench/lcbenchreporter.h"
#include "bench/lcprocessmemory.h"
#include "bench/lcsampleproject.h"
#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "grids/lcdevicemodel.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcobserver.h"
#include "model/lcobserverregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace
{
// A full loop, picked from a panel of loops on every trunk cable of the sample site.
constexpr int kDevicesPerLoop = LCLoop::kMaxDevices;
constexpr int kSampleLoops = 10;

// The grid as the main window shows it on a common screen, with the main window's widths.
constexpr int kViewWidthPixel = 1200;
constexpr int kViewHeightPixel = 800;
constexpr std::array kColumnWidthsPixel{120, 200, 140, 140, 100};

constexpr int kLengthColumn = int(LCDeviceModel::Column::CableLength);
constexpr int kDeviceTypeColumn = int(LCDeviceModel::Column::DeviceType);
constexpr int kSubTypeColumn = int(LCDeviceModel::Column::SubType);
constexpr int kCableTypeColumn = int(LCDeviceModel::Column::CableType);

// Each figure is the median of this many repetitions of Google Benchmark's timed loop.
constexpr int kRepetitions = 9;
constexpr int kStepIterations = 200;
// Target: at most this multiple of the time Qt's stock model and view take for the same work.
constexpr double kMaxRatio = 2.0;

// Everything a cell or a header shows, copied into the reference model.
constexpr std::array kCellRoles{Qt::DisplayRole, Qt::DecorationRole, Qt::TextAlignmentRole,
    Qt::BackgroundRole, Qt::ForegroundRole};
constexpr std::array kHeaderRoles{Qt::DisplayRole, Qt::DecorationRole, Qt::TextAlignmentRole};

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

// Google Benchmark takes its options as command-line arguments, which are not const.
char interleaveArgument[] = "--benchmark_enable_random_interleaving=true";
const char *const kPlatformVariable = "QT_QPA_PLATFORM";
const QByteArray kOffscreenPlatform = QByteArrayLiteral("offscreen");
const QString kSiteFile = QStringLiteral("site.xml");

// Stands in for the project tree, which hears of every loop made stale by an edit.
class LoopResultCounter : public LCObserver
{
public:
    LoopResultCounter() { LCObserverRegistry::add(this); }
    ~LoopResultCounter() override { LCObserverRegistry::remove(this); }
    LoopResultCounter(const LoopResultCounter &) = delete;
    LoopResultCounter &operator=(const LoopResultCounter &) = delete;

    void objectChanged(LCObject *, ChangeKind) override { ++m_count; }
    long long count() const { return m_count; }

private:
    long long m_count = 0;
};

// The loop shown, the device grid with the delegates the main window gives it, and the reference
// grid. The models are declared before the views, so the views are destroyed first.
struct Grids {
    LCLoop *loop = nullptr;
    // as the loop was opened and checked
    int failedDevices = 0;
    int branchDevices = 0;
    std::vector<int> originalCableTypes;
    std::vector<QString> originalCableNames;
    int newCableType = 0;
    QString newCableName;

    LoopResultCounter observer;
    // as in the window, every edit is a step on an undo stack
    QUndoStack stack;
    LCUndoRecorder recorder{stack};
    LCDeviceModel deviceModel;
    LCItemDelegate lengthDelegate{LCItemDelegate::EditorKind::Integer};
    LCItemDelegate deviceTypeDelegate{LCItemDelegate::EditorKind::IconCombo};
    LCItemDelegate subTypeDelegate{LCItemDelegate::EditorKind::IconCombo};
    LCItemDelegate cableTypeDelegate{LCItemDelegate::EditorKind::Combo};
    LCTableView deviceView;

    QStandardItemModel standardModel;
    QTableView standardView;
};

void setColumnWidths(QTableView &view)
{
    for (std::size_t column = 0; column < kColumnWidthsPixel.size(); ++column) {
        view.setColumnWidth(int(column), kColumnWidthsPixel[column]);
    }
}

// Lays the view out and paints it, headers and all, as the event loop would once it is idle.
void paintOnce(QTableView &view)
{
    view.doItemsLayout();
    view.repaint();
    QCoreApplication::processEvents();
}

// Takes the model off the view, as clicking something without a grid does. The view makes a
// new selection model for every model and leaves the old ones to its caller; left alone they
// would pile up as children of the view and slow down everything that walks its children.
void detachModel(QTableView &view)
{
    view.setModel(nullptr);
    const QList<QItemSelectionModel *> selections =
        view.findChildren<QItemSelectionModel *>(QString(), Qt::FindDirectChildrenOnly);
    for (QItemSelectionModel *const selection : selections) {
        if (selection != view.selectionModel()) {
            delete selection;
        }
    }
    QCoreApplication::processEvents();
}

// Copies what the device grid shows (texts, icons, alignment, colours, flags and headers) into
// Qt's own model.
void copyGrid(const QAbstractItemModel &source, QStandardItemModel &target)
{
    target.clear();
    target.setRowCount(source.rowCount());
    target.setColumnCount(source.columnCount());
    for (int row = 0; row < source.rowCount(); ++row) {
        for (int column = 0; column < source.columnCount(); ++column) {
            const QModelIndex index = source.index(row, column);
            auto item = std::make_unique<QStandardItem>();
            for (const Qt::ItemDataRole role : kCellRoles) {
                const QVariant value = index.data(role);
                if (value.isValid()) {
                    item->setData(value, role);
                }
            }
            item->setFlags(source.flags(index));
            target.setItem(row, column, item.release());
        }
    }
    for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        const int sections =
            orientation == Qt::Horizontal ? source.columnCount() : source.rowCount();
        for (int section = 0; section < sections; ++section) {
            for (const Qt::ItemDataRole role : kHeaderRoles) {
                const QVariant value = source.headerData(section, orientation, role);
                if (value.isValid()) {
                    target.setHeaderData(section, orientation, value, role);
                }
            }
        }
    }
}

int branchDevices(const LCLoop &loop)
{
    int count = 0;
    for (int row = 0; row < loop.childCount(); ++row) {
        count += loop.child(row)->property(PropertyId::truck).toInt() != 0 ? 1 : 0;
    }
    return count;
}

int failedDevices(const LCLoop &loop)
{
    int count = 0;
    for (int row = 0; row < loop.childCount(); ++row) {
        count += loop.child(row)->property(PropertyId::CheckMark).toInt() == CheckMarkValue::Flagged
            ? 1
            : 0;
    }
    return count;
}

// Writes a panel of sample loops to a file and opens it as the user would, then checks every
// loop. The loop shown is the first full one with branches that fails its check, so the grid
// carries the colours of branches and of failed devices; else the first full one.
LCLoop *openSampleLoop(const QString &path)
{
    LCDataStore *const store = LCDataStore::instance();
    store->setProject(LCSampleProject::build({1, kSampleLoops, kDevicesPerLoop}));
    QString error;
    if (!store->saveProject(path, &error)) {
        std::fprintf(stderr, "mirel-bench-grids: cannot write %s: %s\n", qPrintable(path),
            qPrintable(error));
        return nullptr;
    }
    store->setProject(nullptr);
    if (!store->loadProject(path).projectRead || !store->project() || !store->project()->panel(0)) {
        std::fprintf(stderr, "mirel-bench-grids: cannot read back %s\n", qPrintable(path));
        return nullptr;
    }
    const LCController *const panel = store->project()->panel(0);
    const LCLoopCalculator calculator = LCLoopCalculator::fromLibrary();
    LCLoop *firstFull = nullptr;
    LCLoop *shown = nullptr;
    for (int i = 0; i < panel->childCount(); ++i) {
        LCLoop *const loop = panel->loop(i);
        if (!loop || loop->childCount() != kDevicesPerLoop) {
            continue;
        }
        calculator.calculateLoop(*loop);
        if (!firstFull) {
            firstFull = loop;
        }
        if (!shown && branchDevices(*loop) > 0 && failedDevices(*loop) > 0) {
            shown = loop;
        }
    }
    return shown ? shown : firstFull;
}

// The cable type the edit sets: the first of the library that no device of the loop has, so
// every written cell changes.
bool chooseNewCable(Grids &grids)
{
    const QMap<int, WireType> wireTypes = LCDataStore::instance()->wireTypes();
    for (auto it = wireTypes.constBegin(); it != wireTypes.constEnd(); ++it) {
        if (std::find(grids.originalCableTypes.begin(), grids.originalCableTypes.end(), it.key())
            == grids.originalCableTypes.end()) {
            grids.newCableType = it.key();
            grids.newCableName = it.value().Name;
            return true;
        }
    }
    return false;
}

void setUpDeviceGrid(Grids &grids)
{
    QStringList cableNames;
    for (const WireType &type : LCDataStore::instance()->wireTypes()) {
        cableNames << type.Name;
    }
    grids.cableTypeDelegate.setItems(cableNames, {});
    grids.deviceView.setColumnDelegate(kLengthColumn, &grids.lengthDelegate);
    grids.deviceView.setColumnDelegate(kDeviceTypeColumn, &grids.deviceTypeDelegate);
    grids.deviceView.setColumnDelegate(kSubTypeColumn, &grids.subTypeDelegate);
    grids.deviceView.setColumnDelegate(kCableTypeColumn, &grids.cableTypeDelegate);
    grids.deviceView.setMultiEdit(true);
    for (QTableView *const view :
        {static_cast<QTableView *>(&grids.deviceView), &grids.standardView}) {
        view->resize(kViewWidthPixel, kViewHeightPixel);
        view->show();
    }
    QCoreApplication::processEvents();
}

// Both grids show their cells, with the cable column of every device selected.
void showForEditing(Grids &grids)
{
    grids.deviceModel.setLoop(grids.loop);
    grids.deviceView.setModel(&grids.deviceModel);
    grids.standardView.setModel(&grids.standardModel);
    for (QTableView *const view :
        {static_cast<QTableView *>(&grids.deviceView), &grids.standardView}) {
        setColumnWidths(*view);
        const QAbstractItemModel *const model = view->model();
        view->selectionModel()->select(QItemSelection(model->index(0, kCableTypeColumn),
                                           model->index(model->rowCount() - 1, kCableTypeColumn)),
            QItemSelectionModel::ClearAndSelect);
        paintOnce(*view);
    }
}

// Puts the loop back as it was opened and checked, behind the grid's back, so the next edit
// changes every cell again.
void restoreLoop(Grids &grids)
{
    grids.stack.clear();
    for (int row = 0; row < grids.loop->childCount(); ++row) {
        grids.loop->child(row)->storeProperty(
            PropertyId::CableType, grids.originalCableTypes[std::size_t(row)]);
    }
    LCLoopCalculator::fromLibrary().calculateLoop(*grids.loop);
    QCoreApplication::processEvents();
}

bool everyCableIs(const LCLoop &loop, int cableType)
{
    for (int row = 0; row < loop.childCount(); ++row) {
        if (loop.child(row)->property(PropertyId::CableType).toInt() != cableType) {
            return false;
        }
    }
    return true;
}

bool cablesAsOpened(const Grids &grids)
{
    for (int row = 0; row < grids.loop->childCount(); ++row) {
        if (grids.loop->child(row)->property(PropertyId::CableType).toInt()
            != grids.originalCableTypes[std::size_t(row)]) {
            return false;
        }
    }
    return true;
}

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
    const std::unique_ptr<QWidget> editor(
        grids.cableTypeDelegate.createEditor(grids.deviceView.viewport(), option, last));
    grids.cableTypeDelegate.setEditorData(editor.get(), last);
    auto *const combo = qobject_cast<QComboBox *>(editor.get());
    if (!combo) {
        return false;
    }
    combo->setCurrentText(grids.newCableName);
    grids.cableTypeDelegate.setModelData(editor.get(), &grids.deviceModel, last);
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
    // The repetitions of the grids and of their references run in a shuffled order, so a busy
    // spell on the machine weighs on both sides of a ratio; a flag given by hand comes later and
    // wins.
    std::vector<char *> arguments(argv, argv + argc);
    arguments.insert(
        arguments.empty() ? arguments.end() : arguments.begin() + 1, interleaveArgument);
    int argumentCount = int(arguments.size());
    // the list ends in a null pointer, as argv does
    arguments.push_back(nullptr);
    benchmark::Initialize(&argumentCount, arguments.data());
    QApplication application(argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data())) {
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
    grids.loop = openSampleLoop(directory.filePath(kSiteFile));
    if (!grids.loop) {
        return 1;
    }
    grids.failedDevices = failedDevices(*grids.loop);
    grids.branchDevices = branchDevices(*grids.loop);
    for (int row = 0; row < grids.loop->childCount(); ++row) {
        grids.originalCableTypes.push_back(
            grids.loop->child(row)->property(PropertyId::CableType).toInt());
    }
    if (!chooseNewCable(grids)) {
        std::fprintf(stderr, "mirel-bench-grids: the loop already uses every cable type\n");
        return 1;
    }
    grids.deviceModel.setLoop(grids.loop);
    copyGrid(grids.deviceModel, grids.standardModel);
    for (int row = 0; row < grids.standardModel.rowCount(); ++row) {
        grids.originalCableNames.push_back(
            grids.standardModel.index(row, kCableTypeColumn).data().toString());
    }
    grids.deviceModel.setLoop(nullptr);
    setUpDeviceGrid(grids);

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
