#pragma once

#include "app/lctreemodel.h"
#include "model/lcobserver.h"

// The project tree: the project, its panels, under each panel its "Loops" item, and under that
// the panel's loops (devices are edited in the grid, not in the tree). Each panel's "Loops" item
// is the panel's loopsNode(), so it is an object like any other and commands can tell it by its
// kind and reach its panel through parent(). Loops are coloured by their last calculation.
//
// As an observer it repaints a loop whose results changed; whoever creates the model adds it
// to LCObserverRegistry, and the model takes itself off again when it is destroyed.
class LCProjectModel : public LCTreeModel, public LCObserver
{
    Q_OBJECT

public:
    explicit LCProjectModel(QObject *parent = nullptr);
    ~LCProjectModel() override;

    QModelIndex index(
        int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The item of object (a panel's "Loops" item included); invalid for one not in the tree.
    QModelIndex indexOf(const LCObject *object) const;

    // Emits dataChanged for the item of a loop of the shown project, so its caption and colour
    // are read again. Objects that are not loops of the shown project are ignored.
    void objectChanged(LCObject *object, ChangeKind kind) override;

protected:
    QVariant horizontalHeaderText(int section) const override;
    QVariant itemText(const LCObject *object) const override;
    QVariant itemBackground(const LCObject *object) const override;
    QVariant itemIcon(const LCObject *object) const override;
};
