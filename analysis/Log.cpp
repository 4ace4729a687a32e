#include "analysis/Log.h"

Q_LOGGING_CATEGORY(lcAnalysis, "vantor.analysis", QtWarningMsg)
