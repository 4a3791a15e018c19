#pragma once

#include <QString>

// How tall a row must be to show a text wrapped in one of its cells. The workbook writer has no
// font metrics and a spreadsheet program keeps the row heights a file gives it, so the height is
// worked out from the text itself: words are laid into lines as wide as the column, each line
// break starts a new line, and every line is one line of the cell's font high.
//
// Column widths are counted in digits 0 of the default font; characters are weighed against that
// digit in a few classes (narrow, ordinary, capital, broad, East Asian), rounded up, so the
// estimate errs towards a row a little too tall rather than one that cuts text off.
class LCWrappedRowHeight
{
public:
    // The workbook's default font, and the height of one line of it.
    static constexpr double kDefaultFontSizePoint = 11.0;
    static constexpr double kLineHeightPoint = 15.0;

    // Lines text fills in a column widthCharacters wide, in a font of fontSizePoint; at least 1.
    // A hidden column (width 0) shows nothing, so it needs one line.
    static int lineCount(
        const QString &text, double widthCharacters, double fontSizePoint = kDefaultFontSizePoint);
    // Height of a row showing those lines.
    static double heightPoint(
        const QString &text, double widthCharacters, double fontSizePoint = kDefaultFontSizePoint);
};
