#pragma once

#include "grids/lctablemodel.h"

#include <QStringList>

class LCObject;

// The ten descriptive texts of a project as a record: titles in column 0, texts in column 1.
// Row r stands for project property r, so "Calculate Date" is the date the last calculation
// stamped and can be overwritten here like any other text. Texts are stored as typed.
class LCProjectInfoModel : public LCTableModel
{
    Q_OBJECT

public:
    enum class Column : int {
        Title = 0,
        Text = 1,
    };
    static constexpr int kColumnCount = 2;

    explicit LCProjectInfoModel(QObject *parent = nullptr);

    // Shows project; null, or an object that is not a project, empties the grid.
    void setProject(LCObject *project);
    LCObject *project() const { return m_project; }

    int getRowCount() const override;
    int getColumnCount() const override;
    bool isCellEditable(int row, int col) const override;
    QVariant cellText(int row, int col) const override;
    // Edits of the title column are taken without change.
    bool setCellData(int row, int col, const QVariant &value) override;
    bool hasSource() const override;

private:
    LCObject *m_project = nullptr;
    const QStringList m_rowTitles;
};
