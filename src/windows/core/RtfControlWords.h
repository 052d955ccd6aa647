#pragma once
// What the control words of an RTF document's body mean: formatting that changes the current
// character or paragraph format, words that stand for one character, words that end a
// paragraph, and destinations whose content is never shown.
#include <QByteArray>
#include <optional>

#include "RtfReader.h"

constexpr int kRtfMaxTwips = 31680;  // 22 inches: no page is wider, so larger distances are damage

int ClampTwips(int value);
bool IsSkippedDestination(const QByteArray& word);
std::optional<char16_t> SpecialCharacter(const QByteArray& word);
bool EndsParagraph(const QByteArray& word);
// Applies a formatting word to the group's formats; false when the word is none.
bool ApplyFormattingWord(const QByteArray& word, bool hasParam, int param, RtfCharFormat& chars,
                         RtfParagraphFormat& paragraph);
