#include "app/commands/lcpropertychanges.h"

#include "model/lcobject.h"
#include "model/lcpropertyjournal.h"

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

} // namespace

LCPropertyMap LCPropertyChanges::snapshot(const LCObject &object)
{
    return object.properties();
}

void LCPropertyChanges::record(const LCPropertyMap &before, const LCObject &object)
{
    for (const LCPropertyMap::Entry &entry : object.properties()) {
        if (!isResultProperty(entry.first)) {
            const QVariant old = before.value(entry.first);
            if (!isSameValue(old, entry.second)) {
                m_changes.append({entry.first, old, entry.second});
            }
        }
    }
}

void LCPropertyChanges::record(const LCPropertyJournal &journal, const LCObject &object)
{
    for (const LCPropertyJournal::Entry &entry : journal.entries()) {
        if (isResultProperty(entry.id)) {
            continue;
        }
        const QVariant after = object.property(entry.id);
        if (!isSameValue(entry.before, after)) {
            m_changes.append({entry.id, entry.before, after});
        }
    }
}

void LCPropertyChanges::restore(LCObject &object, bool after) const
{
    for (const Change &change : m_changes) {
        object.storeProperty(change.id, after ? change.after : change.before);
    }
}
