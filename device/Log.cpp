#include "device/Log.h"

Q_LOGGING_CATEGORY(lcLink, "vantor.device.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSync, "vantor.device.sync", QtWarningMsg)
