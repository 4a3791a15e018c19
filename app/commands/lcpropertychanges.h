#pragma once

#include "model/lcpropertymap.h"

#include <QVarLengthArray>
#include <QVariant>

class LCObject;
class LCPropertyJournal;

// What an edit changed in one object's saved values (results are left out: taking an edit back
// never brings old results back). Most edits change one value, so one is kept without a heap
// allocation: an undo stack may hold thousands of them.
class LCPropertyChanges
{
public:
    // The values of object before it is changed.
    static LCPropertyMap snapshot(const LCObject &object);
    // Keeps every saved value of object that differs from before.
    void record(const LCPropertyMap &before, const LCObject &object);
    // Keeps every saved value of object that the journal saw stored and that differs now from
    // what it was before: the same as above, for an edit that stores a few values.
    void record(const LCPropertyJournal &journal, const LCObject &object);
    bool isEmpty() const { return m_changes.isEmpty(); }
    // Stores the values of one side silently, after the hooks of an edit have run.
    void restore(LCObject &object, bool after) const;

private:
    struct Change {
        PropertyId id;
        QVariant before;
        QVariant after;
    };
    QVarLengthArray<Change, 1> m_changes;
};
