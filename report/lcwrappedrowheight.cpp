#include "report/lcwrappedrowheight.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace
{
// Widths in digits 0 of the common sans-serif fonts, rounded up: narrow letters and punctuation
// take about half a digit, capitals a little more than one, m and w one and a half.
constexpr double kNarrowWidth = 0.6;
constexpr double kDigitWidth = 1.0;
constexpr double kCapitalWidth = 1.2;
constexpr double kBroadWidth = 1.6;
// East Asian wide and full-width characters, and those beyond the basic plane (emoji), take two.
constexpr double kWideWidth = 2.0;
// Even the narrowest column shows one wide character a line.
constexpr double kMinCapacity = kWideWidth;

bool isWide(uint code)
{
    struct Range {
        uint first;
        uint last;
    };
    static constexpr Range kWide[] = {{0x1100, 0x115F}, {0x2E80, 0xA4CF}, {0xAC00, 0xD7A3},
        {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}};
    return std::any_of(std::begin(kWide), std::end(kWide),
        [code](const Range &range) { return code >= range.first && code <= range.last; });
}

double widthOf(QChar c)
{
    static const QString narrow = QStringLiteral(" .,:;'!|()[]ijltfrI-");
    static const QString broad = QStringLiteral("mwMW@%");
    if (narrow.contains(c)) {
        return kNarrowWidth;
    }
    if (broad.contains(c)) {
        return kBroadWidth;
    }
    if (isWide(c.unicode())) {
        return kWideWidth;
    }
    return c.isUpper() ? kCapitalWidth : kDigitWidth;
}

// Width of word in digits; a surrogate pair is one character.
double widthOf(const QString &word)
{
    double width = 0.0;
    for (int i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (c.isHighSurrogate() && i + 1 < word.size() && word.at(i + 1).isLowSurrogate()) {
            width += kWideWidth;
            ++i;
        } else {
            width += widthOf(c);
        }
    }
    return width;
}

// Lines of one paragraph laid word by word into lines of capacity digits; a word longer than a
// line is broken, as a spreadsheet program breaks it.
int paragraphLines(const QString &paragraph, double capacity)
{
    const double space = widthOf(QLatin1Char(' '));
    int lines = 1;
    double used = 0.0; // of the current line
    bool lineEmpty = true;
    for (const QString &word : paragraph.split(QLatin1Char(' '))) {
        const double width = widthOf(word);
        if (!lineEmpty && used + space + width <= capacity) {
            used += space + width;
            continue;
        }
        if (!lineEmpty) {
            ++lines;
        }
        // the word starts a line, filling as many whole lines as it needs
        const int fullLines = width > capacity ? int(std::ceil(width / capacity)) - 1 : 0;
        lines += fullLines;
        used = width - fullLines * capacity;
        lineEmpty = false;
    }
    return lines;
}
} // namespace

int LCWrappedRowHeight::lineCount(const QString &text, double widthCharacters, double fontSizePoint)
{
    if (!(widthCharacters > 0.0) || !(fontSizePoint > 0.0)) {
        return 1;
    }
    // a larger font fits fewer characters into the same width
    const double capacity =
        std::max(kMinCapacity, widthCharacters * kDefaultFontSizePoint / fontSizePoint);
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    int lines = 0;
    for (const QString &paragraph : plain.split(QLatin1Char('\n'))) {
        lines += paragraphLines(paragraph, capacity);
    }
    return lines;
}

double LCWrappedRowHeight::heightPoint(
    const QString &text, double widthCharacters, double fontSizePoint)
{
    const double size = fontSizePoint > 0.0 ? fontSizePoint : kDefaultFontSizePoint;
    return lineCount(text, widthCharacters, size) * kLineHeightPoint * size / kDefaultFontSizePoint;
}
