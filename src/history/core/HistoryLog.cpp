#include "HistoryLog.h"

Q_LOGGING_CATEGORY(lcHistory, "tolvane.history", QtInfoMsg)
