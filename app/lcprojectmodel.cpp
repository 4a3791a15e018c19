#include "app/lcprojectmodel.h"

#include "definitions/lcdatastore.h"
#include "model/lccontroller.h"
#include "model/lcloop.h"
#include "model/lcobserverregistry.h"

#include <QColor>
#include <QIcon>

namespace
{
// A panel has exactly one child in the tree: its "Loops" item.
constexpr int kPanelRowCount = 1;
constexpr int kLoopsItemRow = 0;
constexpr int kFirstColumn = 0;

constexpr Qt::GlobalColor kWorkingLoopColour = Qt::green;
constexpr Qt::GlobalColor kFailingLoopColour = Qt::yellow;

struct TreeIcons {
    QIcon project;
    QIcon panel;
    QIcon loopsItem;
    QIcon loop;
};

// Read from the resources once, on first use, and shared by every model: the tree asks for an
// icon each time it paints an item.
const TreeIcons &treeIcons()
{
    static const TreeIcons icons{
        QIcon(QStringLiteral(":/img/project.png")),
        QIcon(QStringLiteral(":/img/controller.png")),
        QIcon(QStringLiteral(":/img/loops.png")),
        QIcon(QStringLiteral(":/img/loop.png")),
    };
    return icons;
}

// The "Loops" item is the only plain object in a project, and it hangs below its panel.
bool isLoopsItem(const LCObject *object)
{
    return object && object->kind() == ObjectKind::Plain && object->parent()
        && object->parent()->kind() == ObjectKind::Controller;
}

LCController *asPanel(LCObject *object)
{
    return object && object->kind() == ObjectKind::Controller ? static_cast<LCController *>(object)
                                                              : nullptr;
}
} // namespace

LCProjectModel::LCProjectModel(QObject *parent)
    : LCTreeModel(parent)
{
}

LCProjectModel::~LCProjectModel()
{
    // the registry would otherwise call a destroyed model on the next loop change
    LCObserverRegistry::remove(this);
}

QModelIndex LCProjectModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!root()) {
        return {};
    }
    if (!parent.isValid()) {
        return rootIndex();
    }
    // an index must stand for an object: rows the parent does not have get none
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    LCObject *const parentObject = objectOf(parent);
    LCObject *child = nullptr;
    if (LCController *const panel = asPanel(parentObject)) {
        child = panel->loopsNode();
    } else if (isLoopsItem(parentObject)) {
        child = parentObject->parent()->child(row);
    } else if (parentObject->kind() == ObjectKind::Project) {
        child = parentObject->child(row);
    }
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex LCProjectModel::indexOf(const LCObject *object) const
{
    // the path from the project down to object, then the same path through the model
    QList<const LCObject *> path;
    for (const LCObject *step = object; step; step = step->parent()) {
        path.prepend(step);
    }
    if (path.isEmpty() || path.first() != root()) {
        return {};
    }
    QModelIndex item = rootIndex();
    for (int i = 1; i < path.size() && item.isValid(); ++i) {
        const LCObject *const step = path.at(i);
        if (step->kind() == ObjectKind::Loop) {
            // below a panel the tree goes through its "Loops" item
            item = index(kLoopsItemRow, kFirstColumn, item);
        }
        const int row =
            step->kind() == ObjectKind::Plain ? kLoopsItemRow : step->parent()->indexOf(step);
        item = row < 0 ? QModelIndex() : index(row, kFirstColumn, item);
    }
    return item;
}

QModelIndex LCProjectModel::parent(const QModelIndex &index) const
{
    LCObject *const object = objectOf(index);
    if (!root() || !object || object == root()) {
        return {};
    }
    switch (object->kind()) {
    case ObjectKind::Controller:
        return rootIndex();
    case ObjectKind::Loop: {
        LCController *const panel = asPanel(object->parent());
        return panel ? createIndex(kLoopsItemRow, kFirstColumn, panel->loopsNode()) : QModelIndex();
    }
    case ObjectKind::Plain: {
        if (!isLoopsItem(object)) {
            return {};
        }
        LCObject *const panel = object->parent();
        const int row = root()->indexOf(panel);
        return row < 0 ? QModelIndex() : createIndex(row, kFirstColumn, panel);
    }
    default:
        // devices (whose parent is a loop) are not in the tree
        return {};
    }
}

int LCProjectModel::rowCount(const QModelIndex &parent) const
{
    if (!root()) {
        return 0;
    }
    if (!parent.isValid()) {
        return 1;
    }
    const LCObject *const object = objectOf(parent);
    if (!object) {
        return 0;
    }
    if (isLoopsItem(object)) {
        return object->parent()->childCount();
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        return object->childCount();
    case ObjectKind::Controller:
        return kPanelRowCount;
    default:
        // loops are leaves here: their devices are shown in the grid
        return 0;
    }
}

void LCProjectModel::objectChanged(LCObject *object, ChangeKind)
{
    // Only loops are ever notified. A loop being built in a dialog, or one of another project,
    // has no item here; asking for its index would hand the views rows that do not exist.
    if (!root() || !object || object->kind() != ObjectKind::Loop) {
        return;
    }
    LCController *const panel = static_cast<const LCLoop *>(object)->panel();
    const int panelRow = panel ? root()->indexOf(panel) : -1;
    const int loopRow = panel ? panel->indexOf(object) : -1;
    if (panelRow < 0 || loopRow < 0) {
        return;
    }
    const QModelIndex top = rootIndex();
    const QModelIndex panelIndex = index(panelRow, kFirstColumn, top);
    const QModelIndex loopsIndex = index(kLoopsItemRow, kFirstColumn, panelIndex);
    const QModelIndex loopIndex = index(loopRow, kFirstColumn, loopsIndex);
    if (loopIndex.isValid()) {
        emit dataChanged(loopIndex, loopIndex);
    }
}

QVariant LCProjectModel::horizontalHeaderText(int) const
{
    return tr("Project Management");
}

QVariant LCProjectModel::itemText(const LCObject *object) const
{
    if (isLoopsItem(object)) {
        return tr("Loops");
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        return object->property(PropertyId::Name).toString();
    case ObjectKind::Controller: {
        const int panelType = object->property(PropertyId::PanelType).toInt();
        // an unknown type leaves the name empty: the caption is then the number and the dash
        const QString typeName = LCDataStore::instance()->panelTypes().value(panelType);
        return QStringLiteral("%1-%2").arg(
            QString::number(object->property(PropertyId::Panelid).toInt()), typeName);
    }
    case ObjectKind::Loop:
        // the loop caption is a tag, not a phrase, so it is not translated
        return QStringLiteral("Loop%1").arg(object->property(PropertyId::Loopid).toInt());
    default:
        return QString();
    }
}

QVariant LCProjectModel::itemBackground(const LCObject *object) const
{
    if (object->kind() != ObjectKind::Loop) {
        return {};
    }
    // a status never stored, like -1, means the loop was not calculated: no colour
    bool stored = false;
    const int status = object->property(PropertyId::LoopStatus).toInt(&stored);
    if (!stored) {
        return {};
    }
    switch (status) {
    case LoopStatusValue::Works:
        return QColor(kWorkingLoopColour);
    case LoopStatusValue::Fails:
        return QColor(kFailingLoopColour);
    default:
        return {};
    }
}

QVariant LCProjectModel::itemIcon(const LCObject *object) const
{
    const TreeIcons &icons = treeIcons();
    if (isLoopsItem(object)) {
        return icons.loopsItem;
    }
    switch (object->kind()) {
    case ObjectKind::Project:
        return icons.project;
    case ObjectKind::Controller:
        return icons.panel;
    case ObjectKind::Loop:
        return icons.loop;
    default:
        return {};
    }
}
