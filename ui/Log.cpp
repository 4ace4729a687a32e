#include "ui/Log.h"

Q_LOGGING_CATEGORY(lcUi, "vantor.ui", QtWarningMsg)
