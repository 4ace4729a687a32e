#include "interchange/Log.h"

Q_LOGGING_CATEGORY(lcInterchange, "vantor.interchange", QtWarningMsg)
