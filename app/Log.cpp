#include "app/Log.h"

Q_LOGGING_CATEGORY(lcApp, "vantor.app", QtWarningMsg)
