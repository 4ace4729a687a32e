#pragma once
// The logging categories of this module, switchable at run time (QT_LOGGING_RULES, vantor --log).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUi)
