#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QPair>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <zip.h>

#include <memory>
#include <optional>

// The first worksheet of a written .xlsx file as a spreadsheet program finds it: the workbook is
// unzipped and its sheet and shared strings are read back, independently of the library that
// wrote them.
class XlsxSheet
{
public:
    enum class Type { Text, Number, Boolean, Blank };
    struct Cell {
        Type type = Type::Blank;
        QString text; // of a text cell
        double number = 0.0; // of a number or a boolean
        QString style; // the cell's format index, empty when it has none
    };
    using Key = QPair<int, int>; // row, column, from 1

    static std::optional<XlsxSheet> read(const QString &path, QString *error)
    {
        int zipError = 0;
        const std::unique_ptr<zip_t, int (*)(zip_t *)> archive(
            zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &zipError), zip_close);
        if (!archive) {
            *error = QStringLiteral("not a zip archive (libzip error %1)").arg(zipError);
            return std::nullopt;
        }
        XlsxSheet sheet;
        const std::optional<QByteArray> workbook = entry(archive.get(), "xl/workbook.xml");
        const std::optional<QByteArray> cells = entry(archive.get(), "xl/worksheets/sheet1.xml");
        if (!workbook || !cells) {
            *error = QStringLiteral("no workbook or first worksheet in the archive");
            return std::nullopt;
        }
        sheet.workbookXml = *workbook;
        sheet.sheetXml = *cells;
        if (const std::optional<QByteArray> styles = entry(archive.get(), "xl/styles.xml")) {
            sheet.wrappingStyles = wrapping(*styles);
        }
        sheet.sheetNames =
            attributeValues(*workbook, QStringLiteral("sheet"), QStringLiteral("name"));
        QStringList strings;
        if (const std::optional<QByteArray> shared = entry(archive.get(), "xl/sharedStrings.xml")) {
            strings = sharedStrings(*shared);
        }
        if (!sheet.readCells(strings, error)) {
            return std::nullopt;
        }
        return sheet;
    }

    // Every cell that holds something; blank cells with only a format are left out.
    QMap<Key, Cell> filled() const
    {
        QMap<Key, Cell> result;
        for (auto it = cells.constBegin(); it != cells.constEnd(); ++it) {
            if (it->type != Type::Blank) {
                result.insert(it.key(), it.value());
            }
        }
        return result;
    }

    QMap<Key, Cell> cells;
    QMap<int, double> rowHeights; // of the rows given a height, in points
    QStringList wrappingStyles; // format indexes whose text wraps
    QStringList sheetNames;
    QByteArray sheetXml;
    QByteArray workbookXml;

private:
    static std::optional<QByteArray> entry(zip_t *archive, const char *name)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive, name, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
            return std::nullopt;
        }
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> file(
            zip_fopen(archive, name, 0), zip_fclose);
        if (!file) {
            return std::nullopt;
        }
        QByteArray bytes(int(stat.size), '\0');
        if (zip_fread(file.get(), bytes.data(), stat.size) != zip_int64_t(stat.size)) {
            return std::nullopt;
        }
        return bytes;
    }

    static QStringList attributeValues(
        const QByteArray &xml, const QString &tag, const QString &name)
    {
        QStringList values;
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == tag) {
                values << reader.attributes().value(name).toString();
            }
        }
        return values;
    }

    // "_x000D_" stands for a character XML cannot carry as it is.
    static QString unescape(const QString &text)
    {
        static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
        QString result;
        int last = 0;
        QRegularExpressionMatchIterator it = escaped.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            result += text.mid(last, match.capturedStart() - last);
            result += QChar(match.captured(1).toUShort(nullptr, 16));
            last = match.capturedEnd();
        }
        return result + text.mid(last);
    }

    static QStringList wrapping(const QByteArray &xml)
    {
        QStringList styles;
        QXmlStreamReader reader(xml);
        int index = -1;
        bool inCellFormats = false;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.name() == QLatin1String("cellXfs")) {
                inCellFormats = reader.isStartElement();
            } else if (inCellFormats && reader.isStartElement()
                && reader.name() == QLatin1String("xf")) {
                ++index;
            } else if (inCellFormats && reader.isStartElement()
                && reader.name() == QLatin1String("alignment")
                && reader.attributes().value(QLatin1String("wrapText")) == QLatin1String("1")) {
                styles << QString::number(index);
            }
        }
        return styles;
    }

    static QStringList sharedStrings(const QByteArray &xml)
    {
        QStringList strings;
        QXmlStreamReader reader(xml);
        QString current;
        bool inItem = false;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
                inItem = true;
                current.clear();
            } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
                inItem = false;
                strings << unescape(current);
            } else if (inItem && reader.isStartElement() && reader.name() == QLatin1String("t")) {
                current += reader.readElementText();
            }
        }
        return strings;
    }

    static std::optional<Key> position(const QString &reference)
    {
        int column = 0;
        int i = 0;
        while (i < reference.size() && reference.at(i).isUpper()) {
            column = column * 26 + (reference.at(i).unicode() - 'A' + 1);
            ++i;
        }
        bool ok = false;
        const int row = reference.mid(i).toInt(&ok);
        if (!ok || column == 0) {
            return std::nullopt;
        }
        return Key(row, column);
    }

    bool readCells(const QStringList &strings, QString *error)
    {
        QXmlStreamReader reader(sheetXml);
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == QLatin1String("row")
                && reader.attributes().hasAttribute(QLatin1String("ht"))) {
                rowHeights.insert(reader.attributes().value(QLatin1String("r")).toInt(),
                    reader.attributes().value(QLatin1String("ht")).toDouble());
            }
            if (!reader.isStartElement() || reader.name() != QLatin1String("c")) {
                continue;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            const std::optional<Key> key =
                position(attributes.value(QLatin1String("r")).toString());
            if (!key) {
                *error = QStringLiteral("a cell without a valid reference");
                return false;
            }
            Cell cell;
            cell.style = attributes.value(QLatin1String("s")).toString();
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value;
            bool hasValue = false;
            while (reader.readNextStartElement()) {
                if (reader.name() == QLatin1String("v")) {
                    value = reader.readElementText();
                    hasValue = true;
                } else if (reader.name() == QLatin1String("is")) {
                    while (reader.readNextStartElement()) {
                        value += reader.readElementText();
                    }
                    hasValue = true;
                } else {
                    reader.skipCurrentElement();
                }
            }
            if (hasValue) {
                bool ok = true;
                if (type == QLatin1String("s")) {
                    const int index = value.toInt(&ok);
                    ok = ok && index >= 0 && index < strings.size();
                    cell.type = Type::Text;
                    cell.text = ok ? strings.at(index) : QString();
                } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr")) {
                    cell.type = Type::Text;
                    cell.text = unescape(value);
                } else if (type == QLatin1String("b")) {
                    cell.type = Type::Boolean;
                    cell.number = value.toDouble(&ok);
                } else {
                    cell.type = Type::Number;
                    cell.number = value.toDouble(&ok);
                }
                if (!ok) {
                    *error = QStringLiteral("an unreadable value in %1").arg(key->first);
                    return false;
                }
            }
            cells.insert(*key, cell);
        }
        if (reader.hasError()) {
            *error = reader.errorString();
            return false;
        }
        return true;
    }
};
