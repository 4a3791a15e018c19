#pragma once

#include "grids/lctablemodel.h"

#include <QMap>
#include <QModelIndexList>

#include <iterator>

// What the device, cable and card type tables of the definitions dialog have in common: a working
// copy of one of the library's user type maps, keyed by id, with the factory types first and
// read-only. The library sees the copy only on save(). A table adds its columns, headers, texts
// and the parsing of an edited cell; the rest lives here once, so the three tables cannot drift
// apart in how they count, protect, add or delete rows.
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
        if (m_rows == Rows::ById) {
            return columnText(m_types.value(row + kFirstId), col);
        }
        const auto it = rowIterator(row);
        if (it == m_types.constEnd()) {
            return {};
        }
        return columnText(*it, col);
    }

    bool setCellData(int row, int col, const QVariant &value) override
    {
        if (m_rows == Rows::ById) {
            const int id = row + kFirstId;
            Record type = m_types.value(id);
            type.*m_id = id;
            parseColumn(type, col, value);
            // A row standing for a missing id gets its record, and the row of the next id comes
            // into view: only a file with gaps in its ids does that, so every row is read again.
            const bool adds = !m_types.contains(id);
            if (adds) {
                beginResetModel();
            }
            m_types.insert(id, type);
            if (adds) {
                endResetModel();
            }
            return true;
        }
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

    // Deletes the row of the first selected cell, unless it is a factory type. With rows by id the
    // later types move up one id.
    void removeRow(const QModelIndexList &selected)
    {
        if (selected.isEmpty()) {
            return;
        }
        if (m_rows == Rows::ById) {
            removeById(selected.first().row() + kFirstId);
        } else {
            removeInIdOrder(selected.first().row());
        }
        // even a refused delete counts as an edit, so closing still asks
        setModified(true);
    }

    // A copy of the type of key, an empty record when there is none. The key is the row for
    // rows in id order and the id for rows by id.
    Record record(int key) const
    {
        if (m_rows == Rows::ById) {
            return m_types.value(key);
        }
        const auto it = rowIterator(key);
        return it == m_types.constEnd() ? Record() : *it;
    }

protected:
    // How a row finds its type.
    enum class Rows {
        // row r shows the r-th type in ascending id order; a deleted id is not given again
        InIdOrder,
        // row r shows the type with id r + 1; ids run 1, 2, 3, ... through adds and deletes
        ById,
    };

    // id: the member of Record that holds its id.
    LCDefinitionTable(Rows rows, int Record::*id, QObject *parent)
        : LCTableModel(parent)
        , m_rows(rows)
        , m_id(id)
    {
    }

    // Appends a type with zero values and the next id. The name comes from the table so that it
    // is translated in the table's own context.
    void addRecord(const QString &name)
    {
        Record type;
        type.Name = name;
        if (m_rows == Rows::ById) {
            // ids that are not consecutive move rows around, so every row is read again
            beginResetModel();
            type.*m_id = m_types.size() + kFirstId;
            m_types.insert(type.*m_id, type);
            endResetModel();
        } else {
            // an empty table starts at 1
            type.*m_id = m_types.isEmpty() ? kFirstId : m_types.lastKey() + 1;
            // the new id is the highest, so the row is the last one
            const int row = m_types.size();
            beginInsertRows(QModelIndex(), row, row);
            m_types.insert(type.*m_id, type);
            endInsertRows();
        }
        setModified(true);
    }

private:
    static constexpr int kFirstId = 1;

    virtual QMap<int, Record> libraryRecords() const = 0;
    virtual QMap<int, Record> factoryRecords() const = 0;
    virtual void storeRecords(const QMap<int, Record> &types) const = 0;
    virtual QVariant columnText(const Record &type, int col) const = 0;
    virtual void parseColumn(Record &type, int col, const QVariant &value) const = 0;

    typename QMap<int, Record>::const_iterator rowIterator(int row) const
    {
        if (row < 0 || row >= m_types.size()) {
            return m_types.constEnd();
        }
        return std::next(m_types.constBegin(), row);
    }

    void removeInIdOrder(int row)
    {
        const auto it = rowIterator(row);
        if (row >= factoryRecords().size() && it != m_types.constEnd()) {
            // a copy: remove() would read the key from the node it frees
            const int id = it.key();
            beginRemoveRows(QModelIndex(), row, row);
            m_types.remove(id);
            endRemoveRows();
        }
    }

    void removeById(int removedId)
    {
        beginResetModel();
        if (!factoryRecords().contains(removedId)) {
            QMap<int, Record> kept;
            for (auto it = m_types.constBegin(); it != m_types.constEnd(); ++it) {
                if (it.key() == removedId) {
                    continue;
                }
                // the later types close the gap, so the rows keep matching the ids
                Record type = it.value();
                type.*m_id = it.key() > removedId ? it.key() - 1 : it.key();
                kept.insert(type.*m_id, type);
            }
            m_types = kept;
        }
        endResetModel();
    }

    const Rows m_rows;
    int Record::*const m_id;
    QMap<int, Record> m_types;
};
