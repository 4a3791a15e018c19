#pragma once

#include <QAbstractItemModel>

class LCObject;

// A one-column item model over a tree of LCObjects: every index carries the object it stands for
// as its internal pointer. Subclasses decide what an object looks like (text, icon, colours)
// and whether it can be edited, dragged or dropped through the virtual hooks below. The model
// keeps no copy of the tree and does not own it: every answer is read from the objects when it
// is asked, so structural changes show after setRoot() or refresh().
class LCTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit LCTreeModel(QObject *parent = nullptr);

    // Shows the tree below root (null shows nothing); indexes handed out before become invalid.
    void setRoot(LCObject *root);
    LCObject *root() const { return m_root; }
    // Tells the views that the tree changed shape, after objects were added or removed.
    void refresh();
    // Tells the views that the root's own text changed, as when the project is renamed.
    void rootChanged();

    // Whether setData() has changed an object since the last clearModified().
    bool isModified() const { return m_modified; }
    void clearModified() { m_modified = false; }

    // The object an index of this model stands for; null for an invalid or foreign index.
    LCObject *objectOf(const QModelIndex &index) const;

    // While there is no root, all of these answer "nothing": no rows, no columns, invalid
    // indexes and variants, the base flags.
    QModelIndex index(
        int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Only the edit role, handed to setItemData(); marks the model modified when that succeeds.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    // The hooks, each on the object of an index (never null) or on a header section. The
    // defaults make a tree of plain, read-only items without text, icons or colours.
    virtual bool isItemValid(const LCObject *object) const;
    virtual bool isItemEditable(const LCObject *object) const;
    virtual bool isItemDragEnabled(const LCObject *object) const;
    virtual bool isItemDropEnabled(const LCObject *object) const;
    virtual QVariant horizontalHeaderText(int section) const;
    virtual QVariant horizontalHeaderIcon(int section) const;
    virtual QVariant verticalHeaderText(int section) const;
    virtual QVariant verticalHeaderIcon(int section) const;
    virtual QVariant itemText(const LCObject *object) const;
    virtual QVariant itemBackground(const LCObject *object) const;
    virtual QVariant itemForeground(const LCObject *object) const;
    virtual QVariant itemIcon(const LCObject *object) const;
    // Stores value into object; false when it was not taken.
    virtual bool setItemData(LCObject *object, const QVariant &value);

    // The single top item, standing for the root; invalid without a root.
    QModelIndex rootIndex() const;

private:
    LCObject *m_root = nullptr; // not owned
    bool m_modified = false;
};
