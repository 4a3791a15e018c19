#include "bench/lcgridsbench.h"

#include "bench/lcsampleproject.h"
#include "calc/lcloopcalculator.h"
#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcobserverregistry.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace LCGridsBench
{
namespace
{
// A full loop, picked from a panel of loops on every trunk cable of the sample site.
constexpr int kDevicesPerLoop = LCLoop::kMaxDevices;
constexpr int kSampleLoops = 10;

// The main window's widths of the device grid's columns.
constexpr std::array kColumnWidthsPixel{120, 200, 140, 140, 100};

constexpr int kLengthColumn = int(LCDeviceModel::Column::CableLength);
constexpr int kDeviceTypeColumn = int(LCDeviceModel::Column::DeviceType);
constexpr int kSubTypeColumn = int(LCDeviceModel::Column::SubType);

// Everything a cell or a header shows, copied into the reference model.
constexpr std::array kCellRoles{Qt::DisplayRole, Qt::DecorationRole, Qt::TextAlignmentRole,
    Qt::BackgroundRole, Qt::ForegroundRole};
constexpr std::array kHeaderRoles{Qt::DisplayRole, Qt::DecorationRole, Qt::TextAlignmentRole};

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

} // namespace

LoopResultCounter::LoopResultCounter()
{
    LCObserverRegistry::add(this);
}

LoopResultCounter::~LoopResultCounter()
{
    LCObserverRegistry::remove(this);
}

bool setUp(Grids &grids, const QString &sitePath)
{
    grids.loop = openSampleLoop(sitePath);
    if (!grids.loop) {
        return false;
    }
    grids.failedDevices = failedDevices(*grids.loop);
    grids.branchDevices = branchDevices(*grids.loop);
    for (int row = 0; row < grids.loop->childCount(); ++row) {
        grids.originalCableTypes.push_back(
            grids.loop->child(row)->property(PropertyId::CableType).toInt());
    }
    if (!chooseNewCable(grids)) {
        std::fprintf(stderr, "mirel-bench-grids: the loop already uses every cable type\n");
        return false;
    }
    grids.deviceModel.setLoop(grids.loop);
    copyGrid(grids.deviceModel, grids.standardModel);
    for (int row = 0; row < grids.standardModel.rowCount(); ++row) {
        grids.originalCableNames.push_back(
            grids.standardModel.index(row, kCableTypeColumn).data().toString());
    }
    grids.deviceModel.setLoop(nullptr);
    setUpDeviceGrid(grids);
    return true;
}

void setColumnWidths(QTableView &view)
{
    for (std::size_t column = 0; column < kColumnWidthsPixel.size(); ++column) {
        view.setColumnWidth(int(column), kColumnWidthsPixel[column]);
    }
}

void paintOnce(QTableView &view)
{
    view.doItemsLayout();
    view.repaint();
    QCoreApplication::processEvents();
}

// The view makes a new selection model for every model and leaves the old ones to its caller;
// left alone they would pile up as children of the view and slow down everything that walks its
// children.
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

} // namespace LCGridsBench
