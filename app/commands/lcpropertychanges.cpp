#include "app/commands/lcpropertychanges.h"

#include "model/lcobject.h"

LCPropertyMap LCPropertyChanges::snapshot(const LCObject &object)
{
    return object.properties();
}

void LCPropertyChanges::record(const LCPropertyMap &before, const LCObject &object)
{
    for (const LCPropertyMap::Entry &entry : object.properties()) {
        if (isResultProperty(entry.first)) {
            continue;
        }
        const QVariant old = before.value(entry.first);
        // a stored value that equals the old one, type and all, is no change for the file
        if (old.userType() != entry.second.userType() || old != entry.second) {
            m_changes.append({entry.first, old, entry.second});
        }
    }
}

void LCPropertyChanges::restore(LCObject &object, bool after) const
{
    for (const Change &change : m_changes) {
        object.storeProperty(change.id, after ? change.after : change.before);
    }
}
