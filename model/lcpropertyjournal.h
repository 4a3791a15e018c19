#pragma once

#include "model/lcpropertyid.h"
#include "model/lcpropertymap.h"

#include <QVarLengthArray>
#include <QVariant>

class LCObject;

// While one is open, notes the value an object held before each value it stores, once per
// property. The undo layer takes an edit's changes from it: an edit stores a few values, so
// this is far cheaper than copying and comparing the whole object around every cell. Journals
// nest; only the innermost is told, and only of its own object.
class LCPropertyJournal
{
public:
    struct Entry {
        PropertyId id;
        QVariant before;
    };

    // an edit stores its value, a check mark and perhaps a sub type: no heap for those
    static constexpr int kInlineEntries = 4;

    explicit LCPropertyJournal(const LCObject &object);
    ~LCPropertyJournal();
    LCPropertyJournal(const LCPropertyJournal &) = delete;
    LCPropertyJournal &operator=(const LCPropertyJournal &) = delete;

    const QVarLengthArray<Entry, kInlineEntries> &entries() const { return m_entries; }

    // Called by an object about to store a value under id in values. Costs one test when no
    // journal is open, as while a project is read.
    static void aboutToStore(const LCObject &object, PropertyId id, const LCPropertyMap &values)
    {
        if (s_open && &s_open->m_object == &object) {
            s_open->note(id, values.value(id));
        }
    }

private:
    void note(PropertyId id, const QVariant &before);

    static LCPropertyJournal *s_open;
    const LCObject &m_object;
    LCPropertyJournal *const m_outer;
    QVarLengthArray<Entry, kInlineEntries> m_entries;
};
