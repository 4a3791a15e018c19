#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QPair>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <zip.h>

#include <memory>
#include <optional>

// The first worksheet of a written .xlsx file as a spreadsheet program finds it: the workbook is
// unzipped and its cells, shared strings and formats are read back, independently of the library
// that wrote them.
class XlsxSheet
{
public:
    using Key = QPair<int, int>; // row, column, from 1

    static std::optional<XlsxSheet> read(const QString &path, QString *error)
    {
        int zipError = 0;
        const std::unique_ptr<zip_t, int (*)(zip_t *)> archive(
            zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &zipError), zip_close);
        XlsxSheet sheet;
        QByteArray strings;
        if (!archive || !entry(archive.get(), "xl/workbook.xml", &sheet.workbookXml)
            || !entry(archive.get(), "xl/worksheets/sheet1.xml", &sheet.sheetXml)
            || !entry(archive.get(), "xl/styles.xml", &sheet.stylesXml)) {
            *error = QStringLiteral("no zip archive with a workbook, a worksheet and formats");
            return std::nullopt;
        }
        entry(archive.get(), "xl/sharedStrings.xml", &strings);
        sheet.readFormats();
        if (!sheet.readCells(sharedStrings(strings), error)) {
            return std::nullopt;
        }
        return sheet;
    }

    // the text or number of each cell holding one; blank cells with only a format left out
    QMap<Key, QVariant> values;
    QMap<Key, QString> styles; // the format index of each cell, empty when it has none
    QMap<int, double> rowHeights; // of the rows given a height, in points
    QStringList wrappingStyles; // format indexes whose text wraps
    QByteArray sheetXml;
    QByteArray workbookXml;
    QByteArray stylesXml;

private:
    static bool entry(zip_t *archive, const char *name, QByteArray *bytes)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive, name, 0, &stat) != 0) {
            return false;
        }
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> file(
            zip_fopen(archive, name, 0), zip_fclose);
        bytes->resize(int(stat.size));
        return file && zip_fread(file.get(), bytes->data(), stat.size) == zip_int64_t(stat.size);
    }

    // "_x000D_" stands for a character XML cannot carry as it is.
    static QString unescape(const QString &text)
    {
        static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
        QString result;
        int last = 0;
        for (auto it = escaped.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            result += text.mid(last, match.capturedStart() - last)
                + QChar(match.captured(1).toUShort(nullptr, 16));
            last = match.capturedEnd();
        }
        return result + text.mid(last);
    }

    static QStringList sharedStrings(const QByteArray &xml)
    {
        QStringList values;
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement
                && reader.name() == QLatin1String("si")) {
                values << unescape(reader.readElementText(QXmlStreamReader::IncludeChildElements));
            }
        }
        return values;
    }

    // The formats of cells are numbered in the order of their "xf" elements.
    void readFormats()
    {
        const QString cellFormats =
            QString::fromUtf8(stylesXml).section("<cellXfs", 1).section("</cellXfs>", 0, 0);
        const QStringList formats = cellFormats.split(QStringLiteral("<xf ")).mid(1);
        for (int i = 0; i < formats.size(); ++i) {
            if (formats.at(i).contains(QLatin1String("wrapText=\"1\""))) {
                wrappingStyles << QString::number(i);
            }
        }
    }

    bool readCells(const QStringList &strings, QString *error)
    {
        static const QRegularExpression reference(QStringLiteral("^([A-Z]+)([0-9]+)$"));
        QXmlStreamReader reader(sheetXml);
        while (!reader.atEnd()) {
            reader.readNext();
            const QXmlStreamAttributes attributes = reader.attributes();
            if (reader.isStartElement() && reader.name() == QLatin1String("row")
                && attributes.hasAttribute(QLatin1String("ht"))) {
                rowHeights.insert(attributes.value(QLatin1String("r")).toInt(),
                    attributes.value(QLatin1String("ht")).toDouble());
            }
            if (!reader.isStartElement() || reader.name() != QLatin1String("c")) {
                continue;
            }
            const QRegularExpressionMatch at =
                reference.match(attributes.value(QLatin1String("r")).toString());
            const QString type = attributes.value(QLatin1String("t")).toString();
            const QString style = attributes.value(QLatin1String("s")).toString();
            const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            bool ok = at.hasMatch();
            QVariant value;
            if (type == QLatin1String("s")) {
                value = strings.value(text.toInt(&ok));
            } else if (!text.isEmpty()) {
                value = text.toDouble(&ok);
            }
            int column = 0;
            for (const QChar c : at.captured(1)) {
                column = column * 26 + (c.unicode() - 'A' + 1);
            }
            if (!ok) {
                *error = QStringLiteral("an unreadable cell %1").arg(at.captured());
                return false;
            }
            const Key key(at.captured(2).toInt(), column);
            styles.insert(key, style);
            if (value.isValid()) {
                values.insert(key, value);
            }
        }
        *error = reader.errorString();
        return !reader.hasError();
    }
};
