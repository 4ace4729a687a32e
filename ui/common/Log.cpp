#include "ui/common/Log.h"

Q_LOGGING_CATEGORY(lcUi, "vantor.ui", QtWarningMsg)
