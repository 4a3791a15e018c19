#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// The layout of the report's worksheet, read from the template file "Report.xlt" that ships in
// the program's Report folder: the sheet's name, page setup, named cell formats, column widths,
// row heights and the fixed cells (the title, the captions beside the header values and the
// column titles above the problem rows). The report's own values are written over this layout.
//
// The file is XML of our own:
//   <ReportTemplate sheet="Report">
//     <Page orientation="landscape" paper="9" fitToWidth="yes" repeatRows="11"/>
//     <Format name="caption" bold="yes" align="right"/>
//     <Column first="4" last="4" width="80" format="problem"/>
//     <Row row="1" height="24"/>
//     <Cell row="2" column="6" format="caption" text="Project"/>
//   </ReportTemplate>
// A Cell without text only gives its format to the value the report writes there; a Column's
// format goes to the cells the report writes into it that have no Cell of their own.
class LCReportTemplate
{
public:
    // A template is a few kilobytes; anything far larger is not one of ours.
    static constexpr qint64 kMaxFileBytes = 256 * 1024;
    static constexpr int kMaxRow = 1048576;
    static constexpr int kMaxColumn = 16384;
    static constexpr int kMaxSheetNameCharacters = 31;
    static constexpr double kMaxColumnWidthCharacters = 255.0;
    static constexpr double kMaxRowHeightPoint = 409.0;
    static constexpr double kMinFontSizePoint = 1.0;
    static constexpr double kMaxFontSizePoint = 409.0;
    static constexpr int kMaxPaperSize = 255;

    enum class Align { General, Left, Center, Right };
    enum class VerticalAlign { Bottom, Top, Center };
    enum class Orientation { Portrait, Landscape };

    struct Format {
        QString name;
        bool bold = false;
        bool italic = false;
        double fontSizePoint = 0.0; // 0: the workbook's default size
        std::optional<quint32> fontRgb; // 0xRRGGBB
        std::optional<quint32> backgroundRgb;
        bool border = false; // a thin line all round
        bool wrap = false;
        Align align = Align::General;
        VerticalAlign verticalAlign = VerticalAlign::Bottom;
    };
    struct Column {
        int first = 0; // 1-based, first to last inclusive
        int last = 0;
        double widthCharacters = 0.0;
        QString format; // empty: none
    };
    struct Row {
        int row = 0;
        double heightPoint = 0.0;
    };
    struct Cell {
        int row = 0;
        int column = 0;
        QString text; // empty: only a format for the report's value
        QString format;
    };
    struct Page {
        Orientation orientation = Orientation::Portrait;
        int paperSize = 0; // the spreadsheet's paper codes; 0: the printer's default
        bool fitToWidth = false;
        // rows printed at the top of every page, from 1; 0 for none
        int repeatFirstRow = 0;
        int repeatLastRow = 0;
    };

    // The template in the file at path, or nothing with the reason in error when the file is
    // missing, unreadable, too large or not a valid template.
    [[nodiscard]] static std::optional<LCReportTemplate> read(const QString &path, QString *error);
    [[nodiscard]] static std::optional<LCReportTemplate> parse(
        const QByteArray &bytes, QString *error);

    QString sheetName() const { return m_sheetName; }
    Page page() const { return m_page; }
    const QVector<Format> &formats() const { return m_formats; }
    const QVector<Column> &columns() const { return m_columns; }
    const QVector<Row> &rows() const { return m_rows; }
    const QVector<Cell> &cells() const { return m_cells; }

    // Name of the format a value written at (row, column) takes: its Cell's, else its Column's;
    // empty when neither gives one.
    QString formatAt(int row, int column) const;

private:
    class Parser;

    QString m_sheetName;
    Page m_page;
    QVector<Format> m_formats;
    QVector<Column> m_columns;
    QVector<Row> m_rows;
    QVector<Cell> m_cells;
};
