#include "texts/Log.h"

Q_LOGGING_CATEGORY(lcTexts, "vantor.texts", QtWarningMsg)
