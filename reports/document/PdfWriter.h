#pragma once
// The report as a PDF: A4 pages laid out by Qt's text layout (real text, tables, charts at print
// resolution), a footer "Page n of m" on every page with the real page count.

#include "reports/document/ReportDocument.h"

#include <QString>

namespace vantor {

// Writes the PDF to `path`, replacing any file there only once it is complete; false (and `error`
// set, no file left behind) when it cannot be written.
bool WritePdf(const ReportDocument& document, const QString& path, QString* error = nullptr);

} // namespace vantor
