#pragma once

#include "report/lcreporttemplate.h"
#include "report/lcspreadsheetautomation.h"

#include <QHash>
#include <QMap>
#include <QPair>

#include <optional>

// The report's spreadsheet where there is no Excel to drive: it answers the same automation
// calls, keeps the cells it is given, and on saveCopy writes them with the layout of the opened
// template into a real .xlsx workbook (through libxlsxwriter), which the desktop's own
// spreadsheet program then shows. Rows holding text in a wrapping format are made tall enough
// for it, as the library cannot fit rows to their content.
//
// It knows one application with one workbook of one worksheet: "Open" reads the template,
// "ActiveWorkBook" is the opened one, "Worksheets(int)" takes 1, and "Cells(int,int)" takes a
// 1-based row and column within the sheet. A cell's "Value" may be text, a number, a boolean or
// nothing (a blank cell).
class LCXlsxSpreadsheet : public LCSpreadsheetAutomation
{
public:
    // The longest text a cell of a workbook holds.
    static constexpr int kMaxCellTextCharacters = 32767;
    // A row is made tall enough for its wrapped texts up to 20 lines: a long project description
    // then still leaves the column titles and the first problems on the first page, and the rest
    // of its text stays in the cell.
    static constexpr double kMaxFittedRowHeightPoint = 300.0;

    Object createApplication(const QString &progId) override;
    bool setProperty(Object object, const QString &name, const QVariant &value) override;
    Object querySubObject(
        Object object, const QString &member, const QVariantList &arguments = {}) override;
    bool dynamicCall(Object object, const QString &method, const QVariantList &arguments) override;
    bool saveCopy(Object workbook, const QString &path) override;
    void release(Object application) override;
    QString errorString() const override { return m_error; }

private:
    enum class Role { Application, WorkBooks, WorkBook, Worksheet, Cell };
    struct Handle {
        Role role = Role::Application;
        int row = 0; // of a cell, 1-based
        int column = 0;
    };
    using CellKey = QPair<int, int>; // row, column

    std::optional<Handle> handle(Object object, Role role);
    Object newObject(const Handle &handle);
    Object failed(const QString &reason);
    bool refuse(const QString &reason);
    bool setCellValue(const Handle &cell, const QVariant &value);
    // The workbook's bytes, or nothing with the reason in m_error.
    std::optional<QByteArray> workbookBytes();

    QHash<Object, Handle> m_objects;
    QHash<CellKey, Object> m_cellObjects;
    Object m_nextObject = kNoObject + 1;
    Object m_application = kNoObject;
    Object m_workBooks = kNoObject;
    Object m_workBook = kNoObject;
    Object m_worksheet = kNoObject;
    std::optional<LCReportTemplate> m_template;
    QMap<CellKey, QVariant> m_values;
    QString m_error;
};
