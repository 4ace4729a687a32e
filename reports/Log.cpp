#include "reports/Log.h"

Q_LOGGING_CATEGORY(lcReports, "vantor.reports", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSmtp, "vantor.reports.smtp", QtWarningMsg)
