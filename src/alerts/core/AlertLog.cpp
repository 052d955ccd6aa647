#include "AlertLog.h"

Q_LOGGING_CATEGORY(lcAlert, "tolvane.alert", QtInfoMsg)
