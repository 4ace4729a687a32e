#include "reports/document/ReportDocument.h"

#include <algorithm>

namespace vantor {

int ReportDocument::ImageCount() const {
    return static_cast<int>(std::count_if(blocks.begin(), blocks.end(), [](const ReportBlock& block) {
        return std::holds_alternative<ReportImage>(block);
    }));
}

} // namespace vantor
