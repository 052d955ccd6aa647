#pragma once
// Reading the refresh text typed for a cam and writing the numbers the slots show (countdown,
// download percentage).
#include <QString>
#include <optional>

#include "DecimalNumbers.h"

// Whole seconds: the number rounded to the nearest integer, halves to the even neighbour;
// nothing when the text is not a number or does not fit a 32-bit signed integer.
std::optional<qint32> RefreshSecondsFromText(const QString& text);
