// Any bytes a daytime server (or something posing as one) may send: the parser must never
// crash, and what it reads must be the same moment whatever the user's regional settings are.
#include <QLocale>

#include "DateTimeText.h"
#include "Daytime.h"
#include "FuzzSupport.h"

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

void CheckShown(const QDateTime& moment, const QLocale& locale)
{
    FUZZ_CHECK(moment.isValid() && moment.timeSpec() == Qt::UTC, moment.toString());
    // The reply holds a two-digit year.
    FUZZ_CHECK(moment.date().year() >= 1930 && moment.date().year() <= 2029, moment.toString());
    // The caption must read back as the moment it shows.
    const QString caption = GmtCaption(moment, locale);
    FUZZ_CHECK(caption.endsWith(QLatin1String(" GMT")), caption);
    // (A caption inside the hour that the local clock skips does not read back as local time.)
    const QDateTime read = ReadDateTimeText(caption.chopped(4), locale);
    FUZZ_CHECK(!read.isValid() || (read.date() == moment.date() && read.time() == moment.time()), caption);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A zone with daylight saving time, so the hour the local clock skips is reached too.
    qputenv("TZ", "Europe/Berlin");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray reply = FuzzBytes(data, size);
    const auto english = ParseDaytimeReply(reply, kEnglish);
    const auto german = ParseDaytimeReply(reply, kGerman);
    FUZZ_CHECK(english.has_value() == german.has_value(), QString::fromLatin1(reply));
    if (!english)
        return 0;
    FUZZ_CHECK(*english == *german, english->toString(Qt::ISODate) + QLatin1Char(' ') + german->toString(Qt::ISODate));
    // Fields are split at single spaces: date and time need at least two of them.
    FUZZ_CHECK(reply.count(' ') >= 2, QString::fromLatin1(reply));
    CheckShown(*english, kEnglish);
    CheckShown(*german, kGerman);
    return 0;
}
