#pragma once

#include <QString>
#include <QStringRef>

#include <charconv>

// How numbers are read from and written to files and messages.
namespace LCNumberText
{

// Six significant digits as printf's %g: 0.35, 2.5, 120, 1.23457e+06, 1e-05, inf.
QString general(double value);
// The same characters into [first, last) as std::to_chars writes them, for writers that fill a
// byte buffer without making a string per number.
std::to_chars_result generalChars(char *first, char *last, double value);
// Fixed with two decimals: 3.5 gives 3.50.
QString fixed2(double value);

// A decimal integer; anything else (empty, fractional, out of range) reads as 0.
int parseInt(const QString &text);
// A number that fits a float; anything else (empty, NaN, infinite, out of range) reads as 0.
float parseFloat(const QString &text);
// The same for a piece of a longer text, such as an attribute a reader holds, without copying it
// (QStringView would copy it before parsing).
int parseInt(const QStringRef &text);
float parseFloat(const QStringRef &text);

} // namespace LCNumberText
