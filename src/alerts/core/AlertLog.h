#pragma once
// The log of alerts ("tolvane.alert"): each alert, the command hook's output and failures, and a
// missing notification service. Alerts are rare, so its info lines are on unless turned off with
// QT_LOGGING_RULES="tolvane.alert.info=false".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAlert)
