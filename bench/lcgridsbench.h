#pragma once

#include "app/lcundorecorder.h"
#include "grids/lcdevicemodel.h"
#include "grids/ui/lcitemdelegate.h"
#include "grids/ui/lctableview.h"
#include "model/lcloop.h"
#include "model/lcobserver.h"

#include <QStandardItemModel>
#include <QString>
#include <QTableView>
#include <QUndoStack>

#include <vector>

// The two grids mirel-bench-grids times, the loop they show and how they are set up and put
// back between runs.
namespace LCGridsBench
{

// The grid as the main window shows it on a common screen.
constexpr int kViewWidthPixel = 1200;
constexpr int kViewHeightPixel = 800;
constexpr int kCableTypeColumn = int(LCDeviceModel::Column::CableType);

// Stands in for the project tree, which hears of every loop made stale by an edit.
class LoopResultCounter : public LCObserver
{
public:
    LoopResultCounter();
    ~LoopResultCounter() override;
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

// Writes the sample site to sitePath, opens and checks its loop, copies it into the reference
// model and shows both grids; false, with the reason on stderr, when it cannot.
bool setUp(Grids &grids, const QString &sitePath);

void setColumnWidths(QTableView &view);
// Lays the view out and paints it, headers and all, as the event loop would once it is idle.
void paintOnce(QTableView &view);
// Takes the model off the view, as clicking something without a grid does.
void detachModel(QTableView &view);
// Both grids show their cells, with the cable column of every device selected.
void showForEditing(Grids &grids);
// Puts the loop back as it was opened and checked, behind the grid's back, so the next edit
// changes every cell again.
void restoreLoop(Grids &grids);
bool everyCableIs(const LCLoop &loop, int cableType);
bool cablesAsOpened(const Grids &grids);

} // namespace LCGridsBench
