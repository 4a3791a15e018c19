#pragma once

#include <QObject>

class LCDeviceModel;
class LCEditRecorder;
class LCGridEditors;
class LCLoopModel;
class LCObject;
class LCPanelInfoModel;
class LCProjectInfoModel;
class LCTableModel;
class LCTableView;
class QAbstractItemModel;

// The grid of the object the tree shows: the project's details, a panel's details, a panel's
// loops or a loop's devices, each with its editors. Its models send every edit to the recorder.
class LCObjectGrids : public QObject
{
    Q_OBJECT

public:
    LCObjectGrids(LCTableView &view, LCEditRecorder &recorder, QObject *parent = nullptr);

    // Shows the grid that belongs to object; nothing happens for the object already shown.
    void show(LCObject *object);
    // The grid shows nothing of the project any more, and no editor of an earlier grid stays.
    void detach();
    LCObject *shownObject() const { return m_shown; }
    // The grid model on show, if any.
    LCTableModel *shownModel() const;

    LCTableView &view() const { return m_view; }
    LCDeviceModel &devices() const { return *m_devices; }
    LCLoopModel &loops() const { return *m_loops; }
    LCPanelInfoModel &panel() const { return *m_panel; }
    LCGridEditors &editors() const { return *m_editors; }

signals:
    // The grid's selection or current cell moved.
    void selectionChanged();
    // A detail of the project was edited in its grid (its name is the tree's caption).
    void projectRenamed();

private:
    void setModel(QAbstractItemModel *model);

    LCTableView &m_view;
    LCProjectInfoModel *m_project;
    LCPanelInfoModel *m_panel;
    LCLoopModel *m_loops;
    LCDeviceModel *m_devices;
    LCGridEditors *m_editors;
    LCObject *m_shown = nullptr;
};
