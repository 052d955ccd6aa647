#pragma once
// Reading the refresh text typed for a cam and writing the numbers the slots show (countdown,
// download percentage).
#include <QString>
#include <optional>

// The text as a decimal number: blanks around it are allowed, the user's decimal separator or
// ".", no thousands separators; nothing for anything else (including infinities and NaN).
std::optional<double> ReadDecimalNumber(const QString& text);
// Whole seconds: the number rounded to the nearest integer, halves to the even neighbour;
// nothing when the text is not a number or does not fit a 32-bit signed integer.
std::optional<qint32> RefreshSecondsFromText(const QString& text);
// The shortest decimal form ("37.5", "10", "-1"), without exponent; when significantDigits is
// positive the value is first rounded to that many significant digits.
QString ShortestNumberText(double value, int significantDigits = 0);
