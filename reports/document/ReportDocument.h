#pragma once
// The document a report builds, apart from any file format: a title block, then headings, status
// tables and charts in reading order. The ODT and PDF writers both render this one model.

#include <QByteArray>
#include <QColor>
#include <QPicture>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace vantor {

struct ReportTitleBlock {
    QString title;      // "Vibration Analysis Report"
    QString byline;     // "Reporting by Brisca"
    QString dateLabel;  // "Report Date"
    QString date;       // in the user's locale
    QByteArray logoPng; // empty without a logo
    QSize logoPixels;
};

struct ReportHeading {
    int level = 1; // 1 machine, 2 point, 3 graph
    QString text;
};

struct ReportTableCell {
    QString text;
    std::optional<QColor> colour; // text colour; none for the default
};

struct ReportTable {
    QString caption;
    QStringList header;
    std::vector<std::vector<ReportTableCell>> rows;
};

// A chart as the graph control painted it: its drawing commands in logicalSize's coordinates,
// which a page draws as vectors and a picture file rasterises at `pixels`; shown at its width on
// the page.
struct ReportImage {
    QPicture picture;
    QSize logicalSize;
    QSize pixels; // the raster at print resolution
    double widthCm = 16.0;

    double HeightCm() const { return pixels.width() > 0 ? widthCm * pixels.height() / pixels.width() : 0.0; }
    // Draws the chart into `target` (in the painter's coordinates), scaled from logicalSize, clipped
    // to it. Safe on several threads at once: each plays its own copy of the picture.
    void Draw(QPainter& painter, const QRectF& target) const;
};

// A line of plain text (a note such as "No Data" under a point without readings).
struct ReportParagraph {
    QString text;
};

using ReportBlock = std::variant<ReportHeading, ReportTable, ReportImage, ReportParagraph>;

struct ReportDocument {
    ReportTitleBlock titleBlock;
    QString pageWord; // the footer reads "<pageWord> n <ofWord> m"
    QString ofWord;
    QString program; // "<program> <version>" in each page's footer corner; empty prints none
    std::vector<ReportBlock> blocks;

    int ImageCount() const;
};

} // namespace vantor
