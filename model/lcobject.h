#pragma once

#include "model/lcpropertyid.h"
#include "model/lcpropertymap.h"

#include <QVariant>

#include <memory>
#include <vector>

// A node of a project: an ordered list of owned children and a map of property values.
// Changes go through insertChild, removeChild and setProperty, which run the hooks that the
// subclasses override and set the project-modified flag; storeProperty stores silently.
class LCObject
{
public:
    explicit LCObject(LCObject *parent = nullptr, ObjectKind kind = ObjectKind::Plain);
    virtual ~LCObject();

    LCObject(const LCObject &) = delete;
    LCObject &operator=(const LCObject &) = delete;

    LCObject *parent() const { return m_parent; }
    ObjectKind kind() const { return m_kind; }

    int childCount() const { return int(m_children.size()); }
    // The child at position index, or null when index is out of range.
    LCObject *child(int index) const;
    // Position of child in the list, -1 when it is not a child of this object.
    int indexOf(const LCObject *child) const;
    bool isEmpty() const { return m_children.empty(); }
    // Whether root reaches this object through the child lists (a panel's "Loops" item through
    // its panel). An object taken out, and kept by an undo step, is not attached.
    bool isAttachedTo(const LCObject *root) const;

    // Takes ownership of child and puts it at index, or appends it when index is -1 (or out of
    // range). A null child changes nothing. childInserted gets the index as passed.
    void insertChild(std::unique_ptr<LCObject> child, int index = -1);
    // Destroys the child at index with its subtree; an index out of range changes nothing.
    void removeChild(int index);
    // Takes the child at index out of the list with the same hooks as removeChild, and hands
    // it over instead of destroying it (an undo step keeps it to put it back); null when index
    // is out of range.
    std::unique_ptr<LCObject> takeChild(int index);
    void removeChild(const LCObject *child);

    QVariant property(PropertyId id) const { return m_properties.value(id); }
    // Stores value and runs the hooks; storing an equal value runs them just the same.
    void setProperty(PropertyId id, const QVariant &value);
    // Stores value without hooks, flag or notification.
    void storeProperty(PropertyId id, const QVariant &value);
    void copyProperties(const LCPropertyMap &source);
    const LCPropertyMap &properties() const { return m_properties; }

    // Tells every registered observer that object changed.
    static void notifyObservers(LCObject *object, ChangeKind kind);

protected:
    virtual void aboutToInsertChild(LCObject *child, int index);
    virtual void childInserted(LCObject *child, int index);
    virtual void aboutToRemoveChild(int index);
    virtual void childRemoved(int index);
    virtual void aboutToSetProperty(PropertyId id, const QVariant &value);
    virtual void propertyChanged(PropertyId id, const QVariant &value);

    void reserveProperties(int count) { m_properties.reserve(count); }
    // Orders the children ascending by the integer value of key, keeping equal ones in order,
    // after inserted was put at index. When the others were in order already, only the new
    // child moves, so reading a site of many panels and loops stays linear.
    void keepChildrenSortedBy(PropertyId key, LCObject *inserted, int index);
    // Walking children sorted by key: the first number from 1 on that is not the next one.
    int lowestFreeChildNumber(PropertyId key) const;

private:
    // A stored value of the key the holder orders its children by breaks that order.
    void noteStored(PropertyId id);

    std::vector<std::unique_ptr<LCObject>> m_children;
    LCPropertyMap m_properties;
    LCObject *m_parent;
    // the object whose child list holds this one (usually the parent)
    LCObject *m_holder = nullptr;
    ObjectKind m_kind;
    // the children are known to be in ascending order of m_orderKey
    bool m_childOrderKnown = false;
    PropertyId m_orderKey = PropertyId::Name;
};
