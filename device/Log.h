#pragma once
// The logging categories of this module, switchable at run time (QT_LOGGING_RULES, vantor --log).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink) // the serial link; its debug level carries every byte
Q_DECLARE_LOGGING_CATEGORY(lcSync)
