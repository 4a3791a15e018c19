#include "app/lcobjectgrids.h"

#include "app/lcgrideditors.h"
#include "grids/lcdevicemodel.h"
#include "grids/lcloopmodel.h"
#include "grids/lcpanelinfomodel.h"
#include "grids/lcprojectinfomodel.h"
#include "grids/ui/lctableview.h"
#include "model/lcobject.h"

LCObjectGrids::LCObjectGrids(LCTableView &view, LCEditRecorder &recorder, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_project(new LCProjectInfoModel(this))
    , m_panel(new LCPanelInfoModel(this))
    , m_loops(new LCLoopModel(this))
    , m_devices(new LCDeviceModel(this))
    , m_editors(new LCGridEditors(this))
{
    // every edit in a grid is a step on the undo stack
    for (LCTableModel *grid :
        std::initializer_list<LCTableModel *>{m_project, m_panel, m_loops, m_devices}) {
        grid->setRecorder(&recorder);
    }
    // a renamed project is renamed wherever it is shown
    connect(m_project, &QAbstractItemModel::dataChanged, this, &LCObjectGrids::projectRenamed);
}

LCTableModel *LCObjectGrids::shownModel() const
{
    return qobject_cast<LCTableModel *>(m_view.model());
}

void LCObjectGrids::show(LCObject *object)
{
    if (!object || object == m_shown) {
        return;
    }
    QAbstractItemModel *model = nullptr;
    switch (object->kind()) {
    case ObjectKind::Project:
        m_project->setProject(object);
        model = m_project;
        break;
    case ObjectKind::Controller:
        m_panel->setController(object);
        model = m_panel;
        break;
    case ObjectKind::Plain:
        m_loops->setController(object->parent());
        model = m_loops;
        break;
    case ObjectKind::Loop:
        m_devices->setLoop(object);
        model = m_devices;
        break;
    case ObjectKind::Device:
        break;
    }
    if (model) {
        setModel(model);
        m_editors->attach(m_view, *object);
    }
    m_shown = object;
}

void LCObjectGrids::detach()
{
    setModel(nullptr);
    m_devices->setLoop(nullptr);
    m_loops->setController(nullptr);
    m_panel->setController(nullptr);
    m_project->setProject(nullptr);
    m_shown = nullptr;
}

void LCObjectGrids::setModel(QAbstractItemModel *model)
{
    // the editors go with the grid they were attached for, before anything else is shown
    m_view.clearDelegates();
    // the view makes a new selection model for every model it is given and keeps the old ones
    QItemSelectionModel *const oldSelection = m_view.selectionModel();
    m_view.setModel(model);
    if (oldSelection && oldSelection != m_view.selectionModel()) {
        oldSelection->deleteLater();
    }
    if (QItemSelectionModel *const selection = m_view.selectionModel()) {
        connect(selection, &QItemSelectionModel::selectionChanged, this,
            &LCObjectGrids::selectionChanged);
        connect(selection, &QItemSelectionModel::currentChanged, this,
            &LCObjectGrids::selectionChanged);
    }
}
