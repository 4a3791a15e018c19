#include "grids/lcprojectinfomodel.h"

#include "model/lcobject.h"

namespace
{
// The rows are the project's properties, from the name on, in the order of their ids.
constexpr int kFirstProperty = int(PropertyId::Name);
} // namespace

LCProjectInfoModel::LCProjectInfoModel(QObject *parent)
    : LCTableModel(parent)
    , m_rowTitles({tr("Project Name"), tr("Site Name"), tr("Site Address"), tr("End-user"),
          tr("Installer Name"), tr("Engineer"), tr("Calculate Date"), tr("Description"),
          tr("Customer Data"), tr("Address")})
{
}

void LCProjectInfoModel::setProject(LCObject *project)
{
    beginResetModel();
    m_project = project && project->kind() == ObjectKind::Project ? project : nullptr;
    endResetModel();
}

int LCProjectInfoModel::getRowCount() const
{
    return m_rowTitles.size();
}

int LCProjectInfoModel::getColumnCount() const
{
    return kColumnCount;
}

bool LCProjectInfoModel::isCellEditable(int, int col) const
{
    return col != int(Column::Title);
}

QVariant LCProjectInfoModel::cellText(int row, int col) const
{
    if (!m_project || row < 0 || row >= m_rowTitles.size()) {
        return {};
    }
    switch (Column(col)) {
    case Column::Title:
        return m_rowTitles.at(row);
    case Column::Text:
        return m_project->property(PropertyId(kFirstProperty + row)).toString();
    }
    return {};
}

bool LCProjectInfoModel::setCellData(int row, int col, const QVariant &value)
{
    if (col != int(Column::Text)) {
        return true;
    }
    if (!m_project || row < 0 || row >= m_rowTitles.size()) {
        return false;
    }
    writeProperty(*m_project, PropertyId(kFirstProperty + row), value.toString());
    return true;
}

bool LCProjectInfoModel::hasSource() const
{
    return m_project != nullptr;
}
