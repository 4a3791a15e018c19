#include "model/lcobject.h"

#include "model/lcmodificationflag.h"
#include "model/lcobserverregistry.h"
#include "model/lcpropertyjournal.h"

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

bool LCObject::isAttachedTo(const LCObject *root) const
{
    for (const LCObject *step = this; step; step = step->parent()) {
        if (step == root) {
            return true;
        }
        // the "Loops" item hangs beside its panel's list, not in it
        if (step->kind() != ObjectKind::Plain && step->parent()
            && step->parent()->indexOf(step) < 0) {
            return false;
        }
    }
    return false;
}

void LCObject::insertChild(std::unique_ptr<LCObject> child, int index)
{
    if (!child) {
        return;
    }
    LCObject *const inserted = child.get();
    aboutToInsertChild(inserted, index);
    inserted->m_holder = this;
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
    // the child goes with its subtree before anyone hears of the removal
    takeChild(index).reset();
}

std::unique_ptr<LCObject> LCObject::takeChild(int index)
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    aboutToRemoveChild(index);
    std::unique_ptr<LCObject> removed = std::move(m_children[std::size_t(index)]);
    m_children.erase(m_children.begin() + index);
    removed->m_holder = nullptr;
    childRemoved(index);
    LCModificationFlag::set();
    return removed;
}

void LCObject::removeChild(const LCObject *child)
{
    removeChild(indexOf(child));
}

void LCObject::setProperty(PropertyId id, const QVariant &value)
{
    aboutToSetProperty(id, value);
    LCPropertyJournal::aboutToStore(*this, id, m_properties);
    m_properties.insert(id, value);
    noteStored(id);
    propertyChanged(id, value);
    LCModificationFlag::set();
}

void LCObject::storeProperty(PropertyId id, const QVariant &value)
{
    LCPropertyJournal::aboutToStore(*this, id, m_properties);
    m_properties.insert(id, value);
    noteStored(id);
}

void LCObject::copyProperties(const LCPropertyMap &source)
{
    for (const auto &entry : source) {
        LCPropertyJournal::aboutToStore(*this, entry.first, m_properties);
        m_properties.insert(entry.first, entry.second);
        noteStored(entry.first);
    }
}

void LCObject::notifyObservers(LCObject *object, ChangeKind kind)
{
    LCObserverRegistry::notify(object, kind);
}

void LCObject::noteStored(PropertyId id)
{
    if (m_holder && m_holder->m_orderKey == id) {
        m_holder->m_childOrderKnown = false;
    }
}

void LCObject::keepChildrenSortedBy(PropertyId key, LCObject *inserted, int index)
{
    const auto keyOf = [key](const std::unique_ptr<LCObject> &object) {
        return object->property(key).toInt();
    };
    const int position = (index < 0 || index >= childCount()) ? childCount() - 1 : index;
    if (m_childOrderKnown && m_orderKey == key && child(position) == inserted) {
        // where a stable sort would put it: after the smaller keys and, among equal keys, at
        // the place it was inserted at
        const int value = inserted->property(key).toInt();
        const int others = childCount() - 1;
        const auto otherKey = [&](int i) {
            return keyOf(m_children[std::size_t(i < position ? i : i + 1)]);
        };
        int lower = 0;
        for (int count = others; count > 0;) {
            const int half = count / 2;
            if (otherKey(lower + half) < value) {
                lower += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
        int upper = lower;
        for (int count = others - lower; count > 0;) {
            const int half = count / 2;
            if (otherKey(upper + half) <= value) {
                upper += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
        const int target = std::clamp(position, lower, upper);
        const auto begin = m_children.begin();
        if (target < position) {
            std::rotate(begin + target, begin + position, begin + position + 1);
        } else if (target > position) {
            std::rotate(begin + position, begin + position + 1, begin + target + 1);
        }
    } else {
        std::stable_sort(m_children.begin(), m_children.end(),
            [&keyOf](const std::unique_ptr<LCObject> &a, const std::unique_ptr<LCObject> &b) {
                return keyOf(a) < keyOf(b);
            });
    }
    m_orderKey = key;
    m_childOrderKnown = true;
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
