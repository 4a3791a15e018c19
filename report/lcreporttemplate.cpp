#include "report/lcreporttemplate.h"

#include "definitions/lcxmlreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace
{
const QLatin1String kRootTag("ReportTemplate");
const QLatin1String kPageTag("Page");
const QLatin1String kFormatTag("Format");
const QLatin1String kColumnTag("Column");
const QLatin1String kRowTag("Row");
const QLatin1String kCellTag("Cell");

const QLatin1String kSheetAttribute("sheet");
const QLatin1String kOrientationAttribute("orientation");
const QLatin1String kPaperAttribute("paper");
const QLatin1String kFitToWidthAttribute("fitToWidth");
const QLatin1String kRepeatRowsAttribute("repeatRows");
const QLatin1String kNameAttribute("name");
const QLatin1String kBoldAttribute("bold");
const QLatin1String kItalicAttribute("italic");
const QLatin1String kSizeAttribute("size");
const QLatin1String kColourAttribute("colour");
const QLatin1String kBackgroundAttribute("background");
const QLatin1String kBorderAttribute("border");
const QLatin1String kWrapAttribute("wrap");
const QLatin1String kAlignAttribute("align");
const QLatin1String kVerticalAlignAttribute("valign");
const QLatin1String kFirstAttribute("first");
const QLatin1String kLastAttribute("last");
const QLatin1String kWidthAttribute("width");
const QLatin1String kFormatAttribute("format");
const QLatin1String kRowAttribute("row");
const QLatin1String kHeightAttribute("height");
const QLatin1String kColumnAttribute("column");
const QLatin1String kTextAttribute("text");

const QLatin1String kYes("yes");
const QLatin1String kNo("no");

// Characters a worksheet name may not hold.
const QString kSheetNameForbidden = QStringLiteral("[]:*?/\\");
constexpr int kRgbDigits = 6;
constexpr int kHexBase = 16;

QString translate(const char *text)
{
    return QCoreApplication::translate("LCReportTemplate", text);
}

quint64 cellKey(int row, int column)
{
    return (quint64(row) << 32) | quint64(column);
}
} // namespace

// One pass over the file. Every value is checked as it is read and the first fault ends the
// pass with its line, so an edited template tells exactly what is wrong with it.
class LCReportTemplate::Parser
{
public:
    explicit Parser(const QByteArray &bytes)
        : m_reader(bytes)
    {
    }

    std::optional<LCReportTemplate> run(QString *error)
    {
        if (!readDocument()) {
            *error = m_error.isEmpty() ? m_reader.errorString() : m_error;
            return std::nullopt;
        }
        return m_result;
    }

private:
    bool readDocument()
    {
        if (!m_reader.toDocumentElement()) {
            return m_reader.hasError() ? false : fail(translate("the file holds no template"));
        }
        if (m_reader.stream().name() != kRootTag) {
            return fail(translate("the document element is %1, not %2")
                            .arg(m_reader.stream().name().toString(), kRootTag));
        }
        if (!allowOnly({kSheetAttribute}) || !readSheetName()) {
            return false;
        }
        while (m_reader.next()) {
            const QXmlStreamReader &stream = m_reader.stream();
            if (stream.isCharacters() && !stream.isWhitespace()) {
                return fail(translate("text belongs in the text attribute of a Cell"));
            }
            if (!stream.isStartElement()) {
                continue;
            }
            if (m_reader.depth() > 2) {
                return fail(translate("%1 holds elements").arg(m_parentTag));
            }
            m_parentTag = m_reader.stream().name().toString();
            if (!readElement()) {
                return false;
            }
        }
        return !m_reader.hasError();
    }

    bool readElement()
    {
        const QStringRef tag = m_reader.stream().name();
        if (tag == kPageTag) {
            return readPage();
        }
        if (tag == kFormatTag) {
            return readFormat();
        }
        if (tag == kColumnTag) {
            return readColumn();
        }
        if (tag == kRowTag) {
            return readRow();
        }
        if (tag == kCellTag) {
            return readCell();
        }
        return fail(translate("unknown element %1").arg(tag.toString()));
    }

    bool readSheetName()
    {
        const QString name = attributes().value(kSheetAttribute).toString();
        if (name.isEmpty() || name.size() > kMaxSheetNameCharacters) {
            return fail(translate("the sheet name must have 1 to %1 characters")
                            .arg(kMaxSheetNameCharacters));
        }
        for (const QChar c : name) {
            if (kSheetNameForbidden.contains(c)) {
                return fail(translate("the sheet name may not hold %1").arg(c));
            }
        }
        if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\''))) {
            return fail(translate("the sheet name may not begin or end with an apostrophe"));
        }
        m_result.m_sheetName = name;
        return true;
    }

    bool readPage()
    {
        if (m_pageSeen) {
            return fail(translate("a second Page"));
        }
        m_pageSeen = true;
        Page page;
        if (!allowOnly({kOrientationAttribute, kPaperAttribute, kFitToWidthAttribute,
                kRepeatRowsAttribute})) {
            return false;
        }
        const QStringRef orientation = attributes().value(kOrientationAttribute);
        if (orientation == QLatin1String("landscape")) {
            page.orientation = Orientation::Landscape;
        } else if (!orientation.isEmpty() && orientation != QLatin1String("portrait")) {
            return fail(translate("orientation must be portrait or landscape"));
        }
        if (!readInteger(kPaperAttribute, 0, kMaxPaperSize, &page.paperSize)
            || !readYesNo(kFitToWidthAttribute, &page.fitToWidth)
            || !readRowRange(kRepeatRowsAttribute, &page.repeatFirstRow, &page.repeatLastRow)) {
            return false;
        }
        m_result.m_page = page;
        return true;
    }

    bool readFormat()
    {
        if (!allowOnly({kNameAttribute, kBoldAttribute, kItalicAttribute, kSizeAttribute,
                kColourAttribute, kBackgroundAttribute, kBorderAttribute, kWrapAttribute,
                kAlignAttribute, kVerticalAlignAttribute})) {
            return false;
        }
        Format format;
        format.name = attributes().value(kNameAttribute).toString();
        if (format.name.isEmpty()) {
            return fail(translate("a Format needs a name"));
        }
        if (m_formatNames.contains(format.name)) {
            return fail(translate("a second format named %1").arg(format.name));
        }
        if (!readYesNo(kBoldAttribute, &format.bold) || !readYesNo(kItalicAttribute, &format.italic)
            || !readYesNo(kBorderAttribute, &format.border)
            || !readYesNo(kWrapAttribute, &format.wrap)
            || !readRgb(kColourAttribute, &format.fontRgb)
            || !readRgb(kBackgroundAttribute, &format.backgroundRgb) || !readAlign(&format.align)
            || !readVerticalAlign(&format.verticalAlign)) {
            return false;
        }
        if (attributes().hasAttribute(kSizeAttribute)
            && !readNumber(
                kSizeAttribute, kMinFontSizePoint, kMaxFontSizePoint, &format.fontSizePoint)) {
            return false;
        }
        m_formatNames.insert(format.name);
        m_result.m_formats.append(format);
        return true;
    }

    bool readColumn()
    {
        Column column;
        if (!allowOnly({kFirstAttribute, kLastAttribute, kWidthAttribute, kFormatAttribute})
            || !require({kFirstAttribute, kWidthAttribute})
            || !readInteger(kFirstAttribute, 1, kMaxColumn, &column.first)) {
            return false;
        }
        column.last = column.first;
        if (!readInteger(kLastAttribute, column.first, kMaxColumn, &column.last)
            || !readNumber(kWidthAttribute, 0.0, kMaxColumnWidthCharacters, &column.widthCharacters)
            || !readFormatName(&column.format)) {
            return false;
        }
        // a spreadsheet program refuses a workbook whose column ranges overlap
        for (const Column &other : qAsConst(m_result.m_columns)) {
            if (column.first <= other.last && other.first <= column.last) {
                return fail(translate("columns %1 to %2 overlap an earlier Column")
                                .arg(column.first)
                                .arg(column.last));
            }
        }
        m_result.m_columns.append(column);
        return true;
    }

    bool readRow()
    {
        Row row;
        if (!allowOnly({kRowAttribute, kHeightAttribute})
            || !require({kRowAttribute, kHeightAttribute})
            || !readInteger(kRowAttribute, 1, kMaxRow, &row.row)
            || !readNumber(kHeightAttribute, 0.0, kMaxRowHeightPoint, &row.heightPoint)) {
            return false;
        }
        for (const Row &other : qAsConst(m_result.m_rows)) {
            if (other.row == row.row) {
                return fail(translate("a second Row %1").arg(row.row));
            }
        }
        m_result.m_rows.append(row);
        return true;
    }

    bool readCell()
    {
        Cell cell;
        if (!allowOnly({kRowAttribute, kColumnAttribute, kTextAttribute, kFormatAttribute})
            || !require({kRowAttribute, kColumnAttribute})
            || !readInteger(kRowAttribute, 1, kMaxRow, &cell.row)
            || !readInteger(kColumnAttribute, 1, kMaxColumn, &cell.column)
            || !readFormatName(&cell.format)) {
            return false;
        }
        const quint64 key = cellKey(cell.row, cell.column);
        if (m_cellKeys.contains(key)) {
            return fail(
                translate("a second Cell at row %1, column %2").arg(cell.row).arg(cell.column));
        }
        cell.text = attributes().value(kTextAttribute).toString();
        m_cellKeys.insert(key);
        m_result.m_cells.append(cell);
        return true;
    }

    QXmlStreamAttributes attributes() { return m_reader.stream().attributes(); }

    bool fail(const QString &reason)
    {
        m_error = translate("line %1: %2").arg(m_reader.stream().lineNumber()).arg(reason);
        return false;
    }

    bool allowOnly(std::initializer_list<QLatin1String> allowed)
    {
        for (const QXmlStreamAttribute &attribute : attributes()) {
            if (std::find(allowed.begin(), allowed.end(), attribute.name()) == allowed.end()) {
                return fail(
                    translate("%1 has no attribute %2")
                        .arg(m_reader.stream().name().toString(), attribute.name().toString()));
            }
        }
        return true;
    }

    bool require(std::initializer_list<QLatin1String> names)
    {
        for (const QLatin1String &name : names) {
            if (!attributes().hasAttribute(name)) {
                return fail(translate("%1 needs the attribute %2")
                                .arg(m_reader.stream().name().toString(), name));
            }
        }
        return true;
    }

    // Each of these leaves value as it was when the attribute is absent.
    bool readInteger(QLatin1String name, int min, int max, int *value)
    {
        if (!attributes().hasAttribute(name)) {
            return true;
        }
        bool ok = false;
        const int number = attributes().value(name).toInt(&ok);
        if (!ok || number < min || number > max) {
            return fail(
                translate("%1 must be a whole number from %2 to %3").arg(name).arg(min).arg(max));
        }
        *value = number;
        return true;
    }

    bool readNumber(QLatin1String name, double min, double max, double *value)
    {
        if (!attributes().hasAttribute(name)) {
            return true;
        }
        bool ok = false;
        const double number = attributes().value(name).toDouble(&ok);
        if (!ok || !std::isfinite(number) || number < min || number > max) {
            return fail(translate("%1 must be a number from %2 to %3").arg(name).arg(min).arg(max));
        }
        *value = number;
        return true;
    }

    // "11" or "1:11", as a spreadsheet program writes the rows to repeat.
    bool readRowRange(QLatin1String name, int *first, int *last)
    {
        if (!attributes().hasAttribute(name)) {
            return true;
        }
        const QStringList parts = attributes().value(name).toString().split(QLatin1Char(':'));
        bool ok = parts.size() <= 2;
        const int from = ok ? parts.first().toInt(&ok) : 0;
        int to = from;
        if (ok && parts.size() == 2) {
            to = parts.last().toInt(&ok);
        }
        if (!ok || from < 1 || to < from || to > kMaxRow) {
            return fail(translate("%1 must be a row or rows first:last from 1 to %2")
                            .arg(name)
                            .arg(kMaxRow));
        }
        *first = from;
        *last = to;
        return true;
    }

    bool readYesNo(QLatin1String name, bool *value)
    {
        if (!attributes().hasAttribute(name)) {
            return true;
        }
        const QStringRef text = attributes().value(name);
        if (text != kYes && text != kNo) {
            return fail(translate("%1 must be yes or no").arg(name));
        }
        *value = text == kYes;
        return true;
    }

    bool readRgb(QLatin1String name, std::optional<quint32> *value)
    {
        if (!attributes().hasAttribute(name)) {
            return true;
        }
        const QStringRef text = attributes().value(name);
        bool ok = text.size() == kRgbDigits + 1 && text.startsWith(QLatin1Char('#'));
        const uint rgb = ok ? text.mid(1).toUInt(&ok, kHexBase) : 0;
        if (!ok) {
            return fail(translate("%1 must be a colour written #RRGGBB").arg(name));
        }
        *value = quint32(rgb);
        return true;
    }

    bool readAlign(Align *value)
    {
        const QStringRef text = attributes().value(kAlignAttribute);
        if (text.isEmpty()) {
            return true;
        }
        if (text == QLatin1String("left")) {
            *value = Align::Left;
        } else if (text == QLatin1String("center")) {
            *value = Align::Center;
        } else if (text == QLatin1String("right")) {
            *value = Align::Right;
        } else {
            return fail(translate("align must be left, center or right"));
        }
        return true;
    }

    bool readVerticalAlign(VerticalAlign *value)
    {
        const QStringRef text = attributes().value(kVerticalAlignAttribute);
        if (text.isEmpty()) {
            return true;
        }
        if (text == QLatin1String("top")) {
            *value = VerticalAlign::Top;
        } else if (text == QLatin1String("center")) {
            *value = VerticalAlign::Center;
        } else if (text == QLatin1String("bottom")) {
            *value = VerticalAlign::Bottom;
        } else {
            return fail(translate("valign must be top, center or bottom"));
        }
        return true;
    }

    // Formats are declared before they are used, so a misspelt name is caught where it stands.
    bool readFormatName(QString *value)
    {
        if (!attributes().hasAttribute(kFormatAttribute)) {
            return true;
        }
        const QString name = attributes().value(kFormatAttribute).toString();
        if (!m_formatNames.contains(name)) {
            return fail(translate("no format named %1 was declared before").arg(name));
        }
        *value = name;
        return true;
    }

    LCXmlReader m_reader;
    LCReportTemplate m_result;
    QString m_error;
    QString m_parentTag;
    QSet<QString> m_formatNames;
    QSet<quint64> m_cellKeys;
    bool m_pageSeen = false;
};

std::optional<LCReportTemplate> LCReportTemplate::read(const QString &path, QString *error)
{
    if (QFileInfo(path).isDir()) {
        *error = translate("%1 is a folder").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = translate("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // one byte past the limit, so a file that grows while being read is caught too
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = translate("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > kMaxFileBytes) {
        *error = translate("%1: the file is larger than %2 KB")
                     .arg(path, QString::number(kMaxFileBytes / 1024));
        return std::nullopt;
    }
    QString reason;
    std::optional<LCReportTemplate> result = parse(bytes, &reason);
    if (!result) {
        *error = translate("%1: %2").arg(path, reason);
    }
    return result;
}

std::optional<LCReportTemplate> LCReportTemplate::parse(const QByteArray &bytes, QString *error)
{
    return Parser(bytes).run(error);
}

QString LCReportTemplate::formatAt(int row, int column) const
{
    for (const Cell &cell : m_cells) {
        if (cell.row == row && cell.column == column && !cell.format.isEmpty()) {
            return cell.format;
        }
    }
    for (const Column &range : m_columns) {
        if (column >= range.first && column <= range.last) {
            return range.format;
        }
    }
    return QString();
}
