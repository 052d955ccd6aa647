#pragma once
// The log of the picture history: index failures, rebuilds, retention and exports. Enable its
// debug lines with QT_LOGGING_RULES="tolvane.history.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHistory)
