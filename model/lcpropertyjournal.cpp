#include "model/lcpropertyjournal.h"

#include <algorithm>

LCPropertyJournal *LCPropertyJournal::s_open = nullptr;

LCPropertyJournal::LCPropertyJournal(const LCObject &object)
    : m_object(object)
    , m_outer(s_open)
{
    s_open = this;
}

LCPropertyJournal::~LCPropertyJournal()
{
    s_open = m_outer;
}

void LCPropertyJournal::note(PropertyId id, const QVariant &before)
{
    // the first value is the one the edit found; later stores of the same id are its own
    const bool known = std::any_of(
        m_entries.cbegin(), m_entries.cend(), [id](const Entry &entry) { return entry.id == id; });
    if (!known) {
        m_entries.append({id, before});
    }
}
