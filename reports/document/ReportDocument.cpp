#include "reports/document/ReportDocument.h"

#include <QPainter>

#include <algorithm>

namespace vantor {

void ReportImage::Draw(QPainter& painter, const QRectF& target) const {
    if (logicalSize.isEmpty() || picture.isNull()) {
        return;
    }
    // Playing a picture moves its read position: a copy with data of its own.
    QPicture own = picture;
    own.detach();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / logicalSize.width(), target.height() / logicalSize.height());
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(logicalSize)), Qt::IntersectClip);
    // A picture plays scaled from the resolution it was recorded at to the device's; the chart's
    // own scale above replaces that.
    if (const QPaintDevice* device = painter.device(); device != nullptr && device->logicalDpiX() > 0) {
        painter.scale(static_cast<double>(own.logicalDpiX()) / device->logicalDpiX(),
                      static_cast<double>(own.logicalDpiY()) / device->logicalDpiY());
    }
    painter.drawPicture(0, 0, own);
    painter.restore();
}

int ReportDocument::ImageCount() const {
    return static_cast<int>(std::count_if(blocks.begin(), blocks.end(), [](const ReportBlock& block) {
        return std::holds_alternative<ReportImage>(block);
    }));
}

} // namespace vantor
