#include "report/lcxlsxspreadsheet.h"

#include "definitions/lcfilewriter.h"
#include "report/lcwrappedrowheight.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace
{
// libxlsxwriter writes only to a path, so the workbook is made in a scratch folder first.
const QString kScratchFileName = QStringLiteral("report.xlsx");
constexpr int kFirstWorksheet = 1;
// Fit the printout to one page wide; 0 lets it run to as many pages down as it needs.
constexpr uint16_t kFitPagesWide = 1;
constexpr uint16_t kFitPagesHigh = 0;

QString translate(const char *text)
{
    return QCoreApplication::translate("LCXlsxSpreadsheet", text);
}

std::optional<int> integerArgument(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < INT_MIN || number > INT_MAX) {
            return std::nullopt;
        }
        return int(number);
    }
    default:
        return std::nullopt;
    }
}

bool isNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

struct WorkbookFree {
    void operator()(lxw_workbook *book) const { lxw_workbook_free(book); }
};
// Until workbook_close, which frees the workbook itself, an abandoned one is freed here.
using WorkbookPointer = std::unique_ptr<lxw_workbook, WorkbookFree>;

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

uint8_t horizontalAlignment(LCReportTemplate::Align align)
{
    switch (align) {
    case LCReportTemplate::Align::Left:
        return LXW_ALIGN_LEFT;
    case LCReportTemplate::Align::Center:
        return LXW_ALIGN_CENTER;
    case LCReportTemplate::Align::Right:
        return LXW_ALIGN_RIGHT;
    case LCReportTemplate::Align::General:
        break;
    }
    return LXW_ALIGN_NONE;
}

uint8_t verticalAlignment(LCReportTemplate::VerticalAlign align)
{
    switch (align) {
    case LCReportTemplate::VerticalAlign::Top:
        return LXW_ALIGN_VERTICAL_TOP;
    case LCReportTemplate::VerticalAlign::Center:
        return LXW_ALIGN_VERTICAL_CENTER;
    case LCReportTemplate::VerticalAlign::Bottom:
        break;
    }
    return LXW_ALIGN_VERTICAL_BOTTOM;
}

void applyFormat(lxw_format *target, const LCReportTemplate::Format &format)
{
    if (format.bold) {
        format_set_bold(target);
    }
    if (format.italic) {
        format_set_italic(target);
    }
    if (format.fontSizePoint > 0.0) {
        format_set_font_size(target, format.fontSizePoint);
    }
    if (format.fontRgb) {
        format_set_font_color(target, lxw_color_t(*format.fontRgb));
    }
    if (format.backgroundRgb) {
        format_set_bg_color(target, lxw_color_t(*format.backgroundRgb));
    }
    if (format.border) {
        format_set_border(target, LXW_BORDER_THIN);
    }
    if (format.wrap) {
        format_set_text_wrap(target);
    }
    if (format.align != LCReportTemplate::Align::General) {
        format_set_align(target, horizontalAlignment(format.align));
    }
    format_set_align(target, verticalAlignment(format.verticalAlign));
}

// A spreadsheet program reads "_x0041_" in a text as the escape of a character (here "A"). The
// library escapes control characters that way but leaves such a sequence typed by the user as it
// is, so every "_" that would begin one is written as the escape of "_" itself.
QString withLiteralEscapes(QString text)
{
    static const QRegularExpression beginsEscape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    return text.replace(beginsEscape, QStringLiteral("_x005F_"));
}

lxw_error writeValue(
    lxw_worksheet *sheet, int row, int column, const QVariant &value, lxw_format *format)
{
    // the library counts from 0
    const lxw_row_t libraryRow = lxw_row_t(row - 1);
    const lxw_col_t libraryColumn = lxw_col_t(column - 1);
    if (value.userType() == QMetaType::Bool) {
        return worksheet_write_boolean(sheet, libraryRow, libraryColumn, value.toBool(), format);
    }
    if (isNumber(value)) {
        return worksheet_write_number(sheet, libraryRow, libraryColumn, value.toDouble(), format);
    }
    if (value.userType() == QMetaType::QString) {
        const QByteArray text = withLiteralEscapes(value.toString()).toUtf8();
        return worksheet_write_string(sheet, libraryRow, libraryColumn, text.constData(), format);
    }
    return worksheet_write_blank(sheet, libraryRow, libraryColumn, format);
}

double columnWidth(const LCReportTemplate &layout, int column)
{
    for (const LCReportTemplate::Column &range : layout.columns()) {
        if (column >= range.first && column <= range.last) {
            return range.widthCharacters;
        }
    }
    return LXW_DEF_COL_WIDTH;
}

// The template's row heights, and every row holding a wrapped text made tall enough to show it
// (the library cannot fit rows to their content, and without a height a wrapped text runs over
// the rows below). A row is never made lower than the template has it.
QMap<int, double> rowHeights(
    const LCReportTemplate &layout, const QMap<QPair<int, int>, QVariant> &cells)
{
    QMap<int, double> heights;
    for (const LCReportTemplate::Row &row : layout.rows()) {
        heights.insert(row.row, row.heightPoint);
    }
    QHash<QString, LCReportTemplate::Format> formats;
    for (const LCReportTemplate::Format &format : layout.formats()) {
        formats.insert(format.name, format);
    }
    for (auto it = cells.constBegin(); it != cells.constEnd(); ++it) {
        const LCReportTemplate::Format format =
            formats.value(layout.formatAt(it.key().first, it.key().second));
        if (!format.wrap || it.value().userType() != QMetaType::QString) {
            continue;
        }
        const double needed = std::min(LCXlsxSpreadsheet::kMaxFittedRowHeightPoint,
            LCWrappedRowHeight::heightPoint(
                it.value().toString(), columnWidth(layout, it.key().second), format.fontSizePoint));
        const int row = it.key().first;
        const auto height = heights.constFind(row);
        const double current = height != heights.constEnd() ? *height : LXW_DEF_ROW_HEIGHT;
        if (needed > current) {
            heights.insert(row, needed);
        }
    }
    return heights;
}

// Lays out the template on a new worksheet of book, then writes values over it. Returns the
// reason of the first failure, empty when everything was written.
QString writeSheet(lxw_workbook *book,
    const LCReportTemplate &layout,
    const QMap<QPair<int, int>, QVariant> &values)
{
    const QByteArray sheetName = layout.sheetName().toUtf8();
    lxw_worksheet *const sheet = workbook_add_worksheet(book, sheetName.constData());
    if (!sheet) {
        return translate("the worksheet %1 could not be added").arg(layout.sheetName());
    }
    QHash<QString, lxw_format *> formats;
    for (const LCReportTemplate::Format &format : layout.formats()) {
        lxw_format *const added = workbook_add_format(book);
        if (!added) {
            return translate("the format %1 could not be added").arg(format.name);
        }
        applyFormat(added, format);
        formats.insert(format.name, added);
    }

    const LCReportTemplate::Page page = layout.page();
    if (page.orientation == LCReportTemplate::Orientation::Landscape) {
        worksheet_set_landscape(sheet);
    }
    if (page.paperSize > 0) {
        worksheet_set_paper(sheet, uint8_t(page.paperSize));
    }
    if (page.fitToWidth) {
        worksheet_fit_to_pages(sheet, kFitPagesWide, kFitPagesHigh);
    }
    if (page.repeatFirstRow > 0) {
        const lxw_error error = worksheet_repeat_rows(
            sheet, lxw_row_t(page.repeatFirstRow - 1), lxw_row_t(page.repeatLastRow - 1));
        if (error != LXW_NO_ERROR) {
            return libraryError(error);
        }
    }
    for (const LCReportTemplate::Column &column : layout.columns()) {
        const lxw_error error = worksheet_set_column(sheet, lxw_col_t(column.first - 1),
            lxw_col_t(column.last - 1), column.widthCharacters, nullptr);
        if (error != LXW_NO_ERROR) {
            return libraryError(error);
        }
    }

    // the template's texts first, then the report's values over them in their formats
    QMap<QPair<int, int>, QVariant> cells;
    for (const LCReportTemplate::Cell &cell : layout.cells()) {
        if (!cell.text.isEmpty()) {
            cells.insert({cell.row, cell.column}, cell.text);
        }
    }
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        cells.insert(it.key(), it.value());
    }
    const QMap<int, double> heights = rowHeights(layout, cells);
    for (auto it = heights.constBegin(); it != heights.constEnd(); ++it) {
        const lxw_error error =
            worksheet_set_row(sheet, lxw_row_t(it.key() - 1), it.value(), nullptr);
        if (error != LXW_NO_ERROR) {
            return libraryError(error);
        }
    }
    for (auto it = cells.constBegin(); it != cells.constEnd(); ++it) {
        const int row = it.key().first;
        const int column = it.key().second;
        lxw_format *const format = formats.value(layout.formatAt(row, column), nullptr);
        const lxw_error error = writeValue(sheet, row, column, it.value(), format);
        if (error != LXW_NO_ERROR) {
            return translate("row %1, column %2: %3").arg(row).arg(column).arg(libraryError(error));
        }
    }
    return QString();
}
} // namespace

LCSpreadsheetAutomation::Object LCXlsxSpreadsheet::createApplication(const QString &progId)
{
    release(m_application);
    if (progId != kProgId) {
        return failed(translate("no spreadsheet program is registered as %1").arg(progId));
    }
    m_application = newObject({Role::Application});
    return m_application;
}

bool LCXlsxSpreadsheet::setProperty(Object object, const QString &name, const QVariant &value)
{
    if (handle(object, Role::Application)) {
        // there is no window to show or to name
        if (name == kVisible && value.userType() == QMetaType::Bool) {
            return true;
        }
        if (name == kCaption && value.userType() == QMetaType::QString) {
            return true;
        }
        return refuse(translate("the application has no property %1 taking that value").arg(name));
    }
    const std::optional<Handle> cell = handle(object, Role::Cell);
    if (cell && name == kValue) {
        return setCellValue(*cell, value);
    }
    return refuse(translate("object %1 has no property %2").arg(object).arg(name));
}

LCSpreadsheetAutomation::Object LCXlsxSpreadsheet::querySubObject(
    Object object, const QString &member, const QVariantList &arguments)
{
    if (handle(object, Role::Application) && arguments.isEmpty()) {
        if (member == kWorkBooks) {
            if (m_workBooks == kNoObject) {
                m_workBooks = newObject({Role::WorkBooks});
            }
            return m_workBooks;
        }
        if (member == kActiveWorkBook) {
            return m_workBook != kNoObject ? m_workBook : failed(translate("no workbook is open"));
        }
    }
    if (handle(object, Role::WorkBook) && member == kWorksheets) {
        const std::optional<int> index =
            arguments.size() == 1 ? integerArgument(arguments.first()) : std::nullopt;
        if (index != kFirstWorksheet) {
            return failed(translate("the workbook has only worksheet %1").arg(kFirstWorksheet));
        }
        if (m_worksheet == kNoObject) {
            m_worksheet = newObject({Role::Worksheet});
        }
        return m_worksheet;
    }
    if (handle(object, Role::Worksheet) && member == kCells) {
        const std::optional<int> row =
            arguments.size() == 2 ? integerArgument(arguments.at(0)) : std::nullopt;
        const std::optional<int> column =
            arguments.size() == 2 ? integerArgument(arguments.at(1)) : std::nullopt;
        if (!row || !column || *row < 1 || *row > LCReportTemplate::kMaxRow || *column < 1
            || *column > LCReportTemplate::kMaxColumn) {
            return failed(translate("there is no such cell on the worksheet"));
        }
        const CellKey key(*row, *column);
        Object cell = m_cellObjects.value(key, kNoObject);
        if (cell == kNoObject) {
            cell = newObject({Role::Cell, *row, *column});
            m_cellObjects.insert(key, cell);
        }
        return cell;
    }
    return failed(
        translate("object %1 has no member %2 with those arguments").arg(object).arg(member));
}

bool LCXlsxSpreadsheet::dynamicCall(
    Object object, const QString &method, const QVariantList &arguments)
{
    if (!handle(object, Role::WorkBooks) || method != kOpen || arguments.size() != 1
        || arguments.first().userType() != QMetaType::QString) {
        return refuse(
            translate("object %1 has no method %2 with those arguments").arg(object).arg(method));
    }
    QString error;
    std::optional<LCReportTemplate> layout =
        LCReportTemplate::read(arguments.first().toString(), &error);
    if (!layout) {
        return refuse(error);
    }
    // a new workbook from the template, as the spreadsheet program makes one on each Open
    m_template = std::move(layout);
    m_values.clear();
    m_workBook = newObject({Role::WorkBook});
    return true;
}

bool LCXlsxSpreadsheet::saveCopy(Object workbook, const QString &path)
{
    if (workbook == kNoObject || workbook != m_workBook || !m_template) {
        return refuse(translate("no workbook is open"));
    }
    const std::optional<QByteArray> bytes = workbookBytes();
    if (!bytes) {
        return false;
    }
    QString error;
    if (!LCFileWriter::writeAtomically(path, *bytes, &error)) {
        return refuse(translate("%1: %2").arg(path, error));
    }
    return true;
}

void LCXlsxSpreadsheet::release(Object application)
{
    if (application == kNoObject || application != m_application) {
        return;
    }
    m_objects.clear();
    m_cellObjects.clear();
    m_application = kNoObject;
    m_workBooks = kNoObject;
    m_workBook = kNoObject;
    m_worksheet = kNoObject;
    m_template.reset();
    m_values.clear();
}

std::optional<LCXlsxSpreadsheet::Handle> LCXlsxSpreadsheet::handle(Object object, Role role)
{
    const auto it = m_objects.constFind(object);
    if (it == m_objects.constEnd() || it->role != role) {
        return std::nullopt;
    }
    return *it;
}

LCSpreadsheetAutomation::Object LCXlsxSpreadsheet::newObject(const Handle &handle)
{
    const Object object = m_nextObject++;
    m_objects.insert(object, handle);
    return object;
}

LCSpreadsheetAutomation::Object LCXlsxSpreadsheet::failed(const QString &reason)
{
    m_error = reason;
    return kNoObject;
}

bool LCXlsxSpreadsheet::refuse(const QString &reason)
{
    m_error = reason;
    return false;
}

bool LCXlsxSpreadsheet::setCellValue(const Handle &cell, const QVariant &value)
{
    const CellKey key(cell.row, cell.column);
    if (value.userType() == QMetaType::QString) {
        if (value.toString().size() > kMaxCellTextCharacters) {
            return refuse(
                translate("a cell holds at most %1 characters").arg(kMaxCellTextCharacters));
        }
    } else if (isNumber(value)) {
        if (!std::isfinite(value.toDouble())) {
            return refuse(translate("a cell cannot hold a number that is not finite"));
        }
    } else if (value.isValid() && value.userType() != QMetaType::Bool) {
        return refuse(translate("a cell cannot hold a value of type %1")
                          .arg(QString::fromLatin1(value.typeName())));
    }
    m_values.insert(key, value);
    return true;
}

std::optional<QByteArray> LCXlsxSpreadsheet::workbookBytes()
{
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        m_error = translate("no scratch folder for the workbook: %1").arg(scratch.errorString());
        return std::nullopt;
    }
    const QString scratchPath = scratch.filePath(kScratchFileName);
    const QByteArray fileName = QFile::encodeName(scratchPath);
    // the library's own temporary files go there too, and vanish with the folder
    QByteArray temporaryFolder = QFile::encodeName(scratch.path());
    lxw_workbook_options options = {};
    options.tmpdir = temporaryFolder.data();
    WorkbookPointer book(workbook_new_opt(fileName.constData(), &options));
    if (!book) {
        m_error = translate("the workbook could not be created");
        return std::nullopt;
    }
    const QString layoutError = writeSheet(book.get(), *m_template, m_values);
    if (!layoutError.isEmpty()) {
        m_error = layoutError;
        return std::nullopt;
    }
    const lxw_error closed = workbook_close(book.release());
    if (closed != LXW_NO_ERROR) {
        m_error = translate("the workbook could not be written: %1").arg(libraryError(closed));
        return std::nullopt;
    }
    QFile file(scratchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}
