#include "model/lcpropertymap.h"

#include <algorithm>

QVariant LCPropertyMap::value(PropertyId id) const
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [id](const Entry &entry) { return entry.first == id; });
    return found == m_entries.end() ? QVariant() : found->second;
}

bool LCPropertyMap::contains(PropertyId id) const
{
    return std::any_of(
        m_entries.begin(), m_entries.end(), [id](const Entry &entry) { return entry.first == id; });
}

void LCPropertyMap::insert(PropertyId id, const QVariant &value)
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [id](const Entry &entry) { return entry.first == id; });
    if (found != m_entries.end()) {
        found->second = value;
        return;
    }
    m_entries.emplace_back(id, value);
}
