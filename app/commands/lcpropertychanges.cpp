#include "app/commands/lcpropertychanges.h"

#include "model/lcobject.h"

#include <cstring>

namespace
{
// The same stored value, type and all. Plain numbers and names are compared directly rather
// than through QVariant's conversions: every edited cell records one set of changes. Numbers
// compare bit for bit, so any change that could show in the file is kept.
bool isSameValue(const QVariant &a, const QVariant &b)
{
    if (a.userType() != b.userType()) {
        return false;
    }
    switch (a.userType()) {
    case QMetaType::Int:
        return std::memcmp(a.constData(), b.constData(), sizeof(int)) == 0;
    case QMetaType::Float:
        return std::memcmp(a.constData(), b.constData(), sizeof(float)) == 0;
    case QMetaType::Double:
        return std::memcmp(a.constData(), b.constData(), sizeof(double)) == 0;
    case QMetaType::QString:
        return *static_cast<const QString *>(a.constData())
            == *static_cast<const QString *>(b.constData());
    default:
        return a == b;
    }
}

// The value held under id before, looked for first where the object keeps it now (a changed
// value keeps its place, so the lists run side by side); null when there was none.
const QVariant *valueBefore(const LCPropertyMap &before, int position, PropertyId id)
{
    if (position < before.size() && (before.begin() + position)->first == id) {
        return &(before.begin() + position)->second;
    }
    for (const LCPropertyMap::Entry &entry : before) {
        if (entry.first == id) {
            return &entry.second;
        }
    }
    return nullptr;
}
} // namespace

LCPropertyMap LCPropertyChanges::snapshot(const LCObject &object)
{
    return object.properties();
}

void LCPropertyChanges::record(const LCPropertyMap &before, const LCObject &object)
{
    int position = 0;
    for (const LCPropertyMap::Entry &entry : object.properties()) {
        const int here = position++;
        if (isResultProperty(entry.first)) {
            continue;
        }
        const QVariant *const old = valueBefore(before, here, entry.first);
        if (!old) {
            m_changes.append({entry.first, QVariant(), entry.second});
        } else if (!isSameValue(*old, entry.second)) {
            m_changes.append({entry.first, *old, entry.second});
        }
    }
}

void LCPropertyChanges::restore(LCObject &object, bool after) const
{
    for (const Change &change : m_changes) {
        object.storeProperty(change.id, after ? change.after : change.before);
    }
}
