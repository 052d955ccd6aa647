#pragma once
// Decimal numbers as the user types them and as the program writes them: refresh intervals,
// the countdown to the next refresh and the download percentage.
#include <QString>
#include <optional>

// The text as a decimal number: blanks around it are allowed, the user's decimal separator or
// ".", no thousands separators; nothing for anything else (including infinities and NaN).
std::optional<double> ReadDecimalNumber(const QString& text);
// The shortest decimal form ("37.5", "10", "-1", "100000"), never with an exponent; when
// significantDigits is positive the value is first rounded to that many significant digits.
QString ShortestNumberText(double value, int significantDigits = 0);
