// The report template reader: the bytes of a Report.xlt. The workbook is laid out from what it
// accepts without further checks, so everything it accepts must be within the stated bounds.
#include "fuzz/fuzzsupport.h"

#include "report/lcreporttemplate.h"

#include <QSet>

#include <cmath>

namespace
{
using Template = LCReportTemplate;

constexpr quint32 kMaxRgb = 0xFFFFFF;

void check(bool condition, const char *what)
{
    if (!condition) {
        FuzzSupport::fail("a template accepted with", QString::fromLatin1(what));
    }
}

bool within(double value, double min, double max)
{
    return std::isfinite(value) && value >= min && value <= max;
}

void checkTemplate(const Template &layout)
{
    const QString sheet = layout.sheetName();
    check(!sheet.isEmpty() && sheet.size() <= Template::kMaxSheetNameCharacters,
        "a sheet name of a wrong length");
    const Template::Page page = layout.page();
    check(page.paperSize >= 0 && page.paperSize <= Template::kMaxPaperSize, "a paper size");
    check(page.repeatFirstRow == 0
            || (page.repeatFirstRow >= 1 && page.repeatLastRow >= page.repeatFirstRow
                && page.repeatLastRow <= Template::kMaxRow),
        "rows to repeat");

    QSet<QString> formats;
    for (const Template::Format &format : layout.formats()) {
        check(!format.name.isEmpty() && !formats.contains(format.name), "a format's name");
        check(format.fontSizePoint == 0.0
                || within(
                    format.fontSizePoint, Template::kMinFontSizePoint, Template::kMaxFontSizePoint),
            "a font size");
        check(format.fontRgb.value_or(0) <= kMaxRgb && format.backgroundRgb.value_or(0) <= kMaxRgb,
            "a colour");
        formats.insert(format.name);
    }
    const auto declared = [&formats](const QString &name) {
        return name.isEmpty() || formats.contains(name);
    };
    const QVector<Template::Column> &columns = layout.columns();
    for (int i = 0; i < columns.size(); ++i) {
        const Template::Column &column = columns.at(i);
        check(
            column.first >= 1 && column.last >= column.first && column.last <= Template::kMaxColumn,
            "a column range");
        check(within(column.widthCharacters, 0.0, Template::kMaxColumnWidthCharacters),
            "a column width");
        check(declared(column.format), "a column format");
        for (int j = 0; j < i; ++j) {
            check(column.first > columns.at(j).last || columns.at(j).first > column.last,
                "overlapping columns");
        }
    }
    QSet<int> rows;
    for (const Template::Row &row : layout.rows()) {
        check(row.row >= 1 && row.row <= Template::kMaxRow && !rows.contains(row.row), "a row");
        check(within(row.heightPoint, 0.0, Template::kMaxRowHeightPoint), "a row height");
        rows.insert(row.row);
    }
    QSet<QPair<int, int>> cells;
    for (const Template::Cell &cell : layout.cells()) {
        check(cell.row >= 1 && cell.row <= Template::kMaxRow && cell.column >= 1
                && cell.column <= Template::kMaxColumn && !cells.contains({cell.row, cell.column}),
            "a cell");
        check(declared(cell.format) && declared(layout.formatAt(cell.row, cell.column)),
            "a cell format");
        cells.insert({cell.row, cell.column});
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::store();
    const QString path =
        FuzzSupport::write(QStringLiteral("Report/Report.xlt"), FuzzSupport::bytes(data, size));
    QString error;
    const std::optional<LCReportTemplate> layout = LCReportTemplate::read(path, &error);
    if (!layout) {
        if (error.isEmpty()) {
            FuzzSupport::fail("a template refused without a reason");
        }
        return 0;
    }
    checkTemplate(*layout);
    return 0;
}
