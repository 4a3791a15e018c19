#pragma once

#include "model/lcpropertyid.h"

#include <QVariant>

#include <utility>
#include <vector>

// The data of one object. Objects hold a handful of values each, so a flat list searched
// linearly is both smaller and faster than a hash; a project can hold half a million devices.
class LCPropertyMap
{
public:
    using Entry = std::pair<PropertyId, QVariant>;

    // The stored value, or an invalid variant when nothing is stored under id.
    QVariant value(PropertyId id) const;
    bool contains(PropertyId id) const;
    // Stores value under id, replacing an earlier one.
    void insert(PropertyId id, const QVariant &value);
    int size() const { return int(m_entries.size()); }
    // Room for count values, so an object that knows how many it keeps takes no more.
    void reserve(int count) { m_entries.reserve(std::size_t(count)); }
    bool isEmpty() const { return m_entries.empty(); }

    std::vector<Entry>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<Entry>::const_iterator end() const { return m_entries.end(); }

private:
    std::vector<Entry> m_entries;
};
