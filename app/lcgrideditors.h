#pragma once

#include <QList>
#include <QObject>

class LCItemDelegate;
class LCObject;
class LCTableView;
class QModelIndex;

// The cell editors of the main window's grids and how each grid is laid out: which delegate
// edits which row or column, the column widths, the headers and multi-cell editing. Type names
// come from the definition library and are taken afresh whenever it changes.
class LCGridEditors : public QObject
{
    Q_OBJECT

public:
    explicit LCGridEditors(QObject *parent = nullptr);

    // Lays out view, whose model was just set to show object, and attaches its editors.
    void attach(LCTableView &view, const LCObject &object) const;
    // Takes the device and cable type names (and icons) from the library again.
    void fillTypeLists();

private slots:
    // Before a sub type is edited: the sub types of that row's device type.
    void fillSubTypes(const QModelIndex &index);

private:
    void attachProjectGrid(LCTableView &view) const;
    void attachPanelGrid(LCTableView &view, const LCObject &panel) const;
    void attachLoopGrid(LCTableView &view) const;
    void attachDeviceGrid(LCTableView &view) const;

    QList<LCItemDelegate *> m_projectText;
    LCItemDelegate *m_panelNote = nullptr;
    LCItemDelegate *m_cardsUpTo32 = nullptr;
    LCItemDelegate *m_cardsUpTo3 = nullptr;
    LCItemDelegate *m_cardsUpTo8 = nullptr;
    LCItemDelegate *m_cardsUpTo1 = nullptr;
    LCItemDelegate *m_cardsUpTo2 = nullptr;
    LCItemDelegate *m_slotCard = nullptr;
    LCItemDelegate *m_firstLength = nullptr;
    LCItemDelegate *m_lastLength = nullptr;
    LCItemDelegate *m_deviceLength = nullptr;
    LCItemDelegate *m_deviceType = nullptr;
    LCItemDelegate *m_subType = nullptr;
    LCItemDelegate *m_cableType = nullptr;
};
