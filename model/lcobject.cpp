#include "model/lcobject.h"

#include "model/lcmodificationflag.h"
#include "model/lcobserverregistry.h"

#include <algorithm>

LCObject::LCObject(LCObject *parent, ObjectKind kind)
    : m_parent(parent)
    , m_kind(kind)
{
}

LCObject::~LCObject()
{
    // children go in list order, each taking its own subtree with it
    for (auto &child : m_children) {
        child.reset();
    }
    m_children.clear();
}

LCObject *LCObject::child(int index) const
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    return m_children[std::size_t(index)].get();
}

int LCObject::indexOf(const LCObject *child) const
{
    if (!child) {
        return -1;
    }
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == child) {
            return int(i);
        }
    }
    return -1;
}

void LCObject::insertChild(std::unique_ptr<LCObject> child, int index)
{
    if (!child) {
        return;
    }
    LCObject *const inserted = child.get();
    aboutToInsertChild(inserted, index);
    if (index < 0 || index > childCount()) {
        m_children.push_back(std::move(child));
    } else {
        m_children.insert(m_children.begin() + index, std::move(child));
    }
    childInserted(inserted, index);
    LCModificationFlag::set();
}

void LCObject::removeChild(int index)
{
    if (index < 0 || index >= childCount()) {
        return;
    }
    aboutToRemoveChild(index);
    std::unique_ptr<LCObject> removed = std::move(m_children[std::size_t(index)]);
    m_children.erase(m_children.begin() + index);
    removed.reset();
    childRemoved(index);
    LCModificationFlag::set();
}

void LCObject::removeChild(const LCObject *child)
{
    removeChild(indexOf(child));
}

void LCObject::setProperty(PropertyId id, const QVariant &value)
{
    aboutToSetProperty(id, value);
    m_properties.insert(id, value);
    propertyChanged(id, value);
    LCModificationFlag::set();
}

void LCObject::storeProperty(PropertyId id, const QVariant &value)
{
    m_properties.insert(id, value);
}

void LCObject::copyProperties(const LCPropertyMap &source)
{
    for (const auto &entry : source) {
        m_properties.insert(entry.first, entry.second);
    }
}

void LCObject::notifyObservers(LCObject *object, ChangeKind kind)
{
    LCObserverRegistry::notify(object, kind);
}

void LCObject::sortChildrenBy(PropertyId key)
{
    std::stable_sort(m_children.begin(), m_children.end(),
        [key](const std::unique_ptr<LCObject> &a, const std::unique_ptr<LCObject> &b) {
            return a->property(key).toInt() < b->property(key).toInt();
        });
}

int LCObject::lowestFreeChildNumber(PropertyId key) const
{
    int previous = 0;
    for (const auto &child : m_children) {
        const int number = child->property(key).toInt();
        if (number != previous + 1) {
            break;
        }
        previous = number;
    }
    return previous + 1;
}

void LCObject::aboutToInsertChild(LCObject *, int)
{
}

void LCObject::childInserted(LCObject *, int)
{
}

void LCObject::aboutToRemoveChild(int)
{
}

void LCObject::childRemoved(int)
{
}

void LCObject::aboutToSetProperty(PropertyId, const QVariant &)
{
}

void LCObject::propertyChanged(PropertyId, const QVariant &)
{
}
