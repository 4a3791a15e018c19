#pragma once

#include "grids/lctablemodel.h"

#include <QMap>
#include <QModelIndexList>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

// What the device, cable and card type tables of the definitions dialog have in common: a working
// copy of one of the library's user type maps, keyed by id, with the factory types first and
// read-only. Row r shows the r-th type in ascending id order. Ids never change here: devices,
// loops and the battery refer to types by id, so a delete leaves a gap and a new type takes an id
// above every one in use. The library sees the copy only on save(). A table adds its columns,
// headers, texts and the parsing of an edited cell; the rest lives here once, so the three tables
// cannot drift apart in how they count, protect, add or delete rows.
template <typename Record>
class LCDefinitionTable : public LCTableModel
{
public:
    // Hands the working copy to the library, which marks that kind of type changed.
    void save() override
    {
        storeRecords(m_types);
        LCTableModel::save();
    }

    int getRowCount() const override { return m_types.size(); }

    bool isCellEditable(int row, int) const override
    {
        // the factory types come first, by their low ids
        return row >= factoryRecords().size();
    }

    QVariant verticalHeaderText(int section) const override { return QString::number(section + 1); }

    QVariant cellText(int row, int col) const override
    {
        const auto it = rowIterator(row);
        if (it == m_types.constEnd()) {
            return {};
        }
        return columnText(*it, col);
    }

    bool setCellData(int row, int col, const QVariant &value) override
    {
        const auto it = rowIterator(row);
        if (it == m_types.constEnd()) {
            return false;
        }
        Record type = *it;
        parseColumn(type, col, value);
        m_types.insert(type.*m_id, type);
        return true;
    }

    bool hasSource() const override { return !m_types.isEmpty(); }

    // Starts again from the library's user types; the modified state stays.
    void reload()
    {
        beginResetModel();
        m_types = libraryRecords();
        endResetModel();
    }

    // Deletes the row of the first selected cell, unless it is a factory type. The other types
    // keep their ids.
    void removeRow(const QModelIndexList &selected)
    {
        if (selected.isEmpty()) {
            return;
        }
        const int row = selected.first().row();
        const auto it = rowIterator(row);
        if (row >= factoryRecords().size() && it != m_types.constEnd()) {
            // a copy: remove() would read the key from the node it frees
            const int id = it.key();
            beginRemoveRows(QModelIndex(), row, row);
            m_types.remove(id);
            endRemoveRows();
        }
        // even a refused delete counts as an edit, so closing still asks
        setModified(true);
    }

    // A copy of the type in row, an empty record when there is none.
    Record record(int row) const
    {
        const auto it = rowIterator(row);
        return it == m_types.constEnd() ? Record() : *it;
    }

protected:
    // id: the member of Record that holds its id.
    LCDefinitionTable(int Record::*id, QObject *parent)
        : LCTableModel(parent)
        , m_id(id)
    {
    }

    // Appends a type with zero values and the next id. The name comes from the table so that it
    // is translated in the table's own context.
    void addRecord(const QString &name)
    {
        const int id = nextId();
        if (id == kNoId) {
            return;
        }
        Record type;
        type.Name = name;
        type.*m_id = id;
        // the new id is the highest, so the row is the last one
        const int row = m_types.size();
        beginInsertRows(QModelIndex(), row, row);
        m_types.insert(type.*m_id, type);
        endInsertRows();
        setModified(true);
    }

    // The number in an edited cell: 0 for an empty cell, and no number (NaN) for text that is none
    // or does not fit a float, so that the check on save refuses it rather than taking 0.
    static float parseNumber(const QString &text)
    {
        if (text.trimmed().isEmpty()) {
            return 0.0f;
        }
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value)
            || std::abs(value) > double(std::numeric_limits<float>::max())) {
            return std::numeric_limits<float>::quiet_NaN();
        }
        return float(value);
    }

private:
    static constexpr int kFirstId = 1;
    // a hostile file may hold the largest id, which leaves none above it
    static constexpr int kNoId = 0;

    virtual QMap<int, Record> libraryRecords() const = 0;
    virtual QMap<int, Record> factoryRecords() const = 0;
    virtual void storeRecords(const QMap<int, Record> &types) const = 0;
    virtual QVariant columnText(const Record &type, int col) const = 0;
    virtual void parseColumn(Record &type, int col, const QVariant &value) const = 0;
    // The highest id of this kind that the open project refers to; 0 when none.
    virtual int highestIdInUse() const { return 0; }

    // Above every id in the working copy, of a factory type (their ids keep their meaning even
    // where the copy lacks them) and in use by the project (an orphan must not come back to life
    // as the new type); kNoId when there is none above them.
    int nextId() const
    {
        int highest = std::max(kFirstId - 1, highestIdInUse());
        if (!m_types.isEmpty()) {
            highest = std::max(highest, m_types.lastKey());
        }
        const QMap<int, Record> factory = factoryRecords();
        if (!factory.isEmpty()) {
            highest = std::max(highest, factory.lastKey());
        }
        return highest == std::numeric_limits<int>::max() ? kNoId : highest + 1;
    }

    typename QMap<int, Record>::const_iterator rowIterator(int row) const
    {
        if (row < 0 || row >= m_types.size()) {
            return m_types.constEnd();
        }
        return std::next(m_types.constBegin(), row);
    }

    int Record::*const m_id;
    QMap<int, Record> m_types;
};
