#include "store/Log.h"

Q_LOGGING_CATEGORY(lcStore, "vantor.store", QtWarningMsg)
