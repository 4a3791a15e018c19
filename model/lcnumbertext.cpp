#include "model/lcnumbertext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace
{
constexpr int kSignificantDigits = 6;
constexpr int kFixedDecimals = 2;
// room for any double in either format
constexpr std::size_t kBufferSize = 512;
constexpr int kRadix = 10;
// more would not always fit an int
constexpr int kPlainDigits = 9;
// far more than any number the program writes
constexpr std::size_t kPlainNumberChars = 32;

// As printf does in the "C" locale, whatever locale the program runs in.
QString format(double value, std::chars_format style, int precision)
{
    std::array<char, kBufferSize> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, style, precision);
    if (error != std::errc()) {
        return QString();
    }
    return QString::fromLatin1(buffer.data(), int(end - buffer.data()));
}

// Nearly every integer in a file is a few plain digits. Those are read here, since the general
// conversion behind toInt (a copy to bytes, then whitespace, signs and overflow) costs more than
// the rest of reading a device; nothing when the text is anything else (a plus sign, spaces, more
// digits than surely fit), which toInt then reads.
std::optional<int> plainDecimal(const QStringRef &text)
{
    const int sign = !text.isEmpty() && text.at(0) == QLatin1Char('-') ? 1 : 0;
    const int digits = text.size() - sign;
    if (digits < 1 || digits > kPlainDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (int i = sign; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        value = value * kRadix + int(unit - u'0');
    }
    return sign ? -value : value;
}

// The same for the written form of a number (digits, point, exponent and minus signs), which
// std::from_chars reads exactly as toDouble does; nothing for anything else.
std::optional<double> plainNumber(const QStringRef &text)
{
    std::array<char, kPlainNumberChars> ascii;
    const int size = text.size();
    if (size < 1 || size > int(ascii.size())) {
        return std::nullopt;
    }
    for (int i = 0; i < size; ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool digit = unit >= u'0' && unit <= u'9';
        if (!digit && unit != u'.' && unit != u'-' && unit != u'e' && unit != u'E'
            && (unit != u'+' || i == 0)) {
            return std::nullopt;
        }
        ascii[std::size_t(i)] = char(unit);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + size, value);
    // zero and out of range are left to toDouble, which tells underflow from a written zero
    if (error != std::errc() || end != ascii.data() + size || value == 0 || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
} // namespace

QString LCNumberText::general(double value)
{
    return format(value, std::chars_format::general, kSignificantDigits);
}

std::to_chars_result LCNumberText::generalChars(char *first, char *last, double value)
{
    return std::to_chars(first, last, value, std::chars_format::general, kSignificantDigits);
}

QString LCNumberText::fixed2(double value)
{
    return format(value, std::chars_format::fixed, kFixedDecimals);
}

int LCNumberText::parseInt(const QString &text)
{
    return parseInt(QStringRef(&text));
}

float LCNumberText::parseFloat(const QString &text)
{
    return parseFloat(QStringRef(&text));
}

int LCNumberText::parseInt(const QStringRef &text)
{
    if (const std::optional<int> value = plainDecimal(text)) {
        return *value;
    }
    bool ok = false;
    const int value = text.toInt(&ok, kRadix);
    return ok ? value : 0;
}

float LCNumberText::parseFloat(const QStringRef &text)
{
    bool ok = true;
    const std::optional<double> plain = plainNumber(text);
    const double value = plain ? *plain : text.toDouble(&ok);
    if (!ok || !std::isfinite(value)
        || std::abs(value) > double(std::numeric_limits<float>::max())) {
        return 0.0f;
    }
    return float(value);
}
