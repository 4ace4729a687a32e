#pragma once
// The report as an editable OpenDocument text file: a zip package with the "mimetype" entry first
// and stored, the manifest, content, styles (page footer with the page-number and page-count
// fields) and meta entries, and each chart as a PNG under Pictures/.

#include "reports/document/ReportDocument.h"

#include <QString>

namespace vantor {

inline constexpr const char* kOdtMimeType = "application/vnd.oasis.opendocument.text";

// The entries of the package, in the order they are written.
struct OdtEntry {
    QString name;
    QByteArray data;
    bool stored = false; // written without compression
};
std::vector<OdtEntry> OdtEntries(const ReportDocument& document);

// Writes the package to `path`, replacing any file there only once the package is complete; false
// (and `error` set, no file left behind) when it cannot be written.
bool WriteOdt(const ReportDocument& document, const QString& path, QString* error = nullptr);

} // namespace vantor
