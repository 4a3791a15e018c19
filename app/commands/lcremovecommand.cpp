#include "app/commands/lcremovecommand.h"

#include "model/lcobject.h"

#include <algorithm>
#include <functional>

LCRemoveCommand::LCRemoveCommand(LCObject &parent, QList<int> rows, const QString &text)
    : QUndoCommand(text)
    , m_parent(parent)
    , m_rows(std::move(rows))
{
    std::sort(m_rows.begin(), m_rows.end(), std::greater<int>());
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
}

LCRemoveCommand::~LCRemoveCommand() = default;

void LCRemoveCommand::redo()
{
    const LCPropertyMap before = LCPropertyChanges::snapshot(m_parent);
    for (const int row : m_rows) {
        std::unique_ptr<LCObject> child = m_parent.takeChild(row);
        if (child) {
            m_taken.emplace_back(row, std::move(child));
        }
    }
    if (!m_recorded) {
        m_parentChanges.record(before, m_parent);
        m_recorded = true;
    }
    m_parentChanges.restore(m_parent, true);
}

void LCRemoveCommand::undo()
{
    // the last taken (the top row) goes back first
    while (!m_taken.empty()) {
        auto &[row, child] = m_taken.back();
        m_parent.insertChild(std::move(child), row);
        m_taken.pop_back();
    }
    m_parentChanges.restore(m_parent, false);
}
