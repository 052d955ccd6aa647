#include "WatchLog.h"

// Warnings and worse by default: the info lines are for those who ask.
Q_LOGGING_CATEGORY(lcWatch, "tolvane.watch", QtWarningMsg)

void EnableVerboseWatchLog()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tolvane.watch.info=true"));
}
