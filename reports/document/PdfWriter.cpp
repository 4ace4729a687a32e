#include "reports/document/PdfWriter.h"

#include "reports/Log.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantor {
namespace {

constexpr int kResolutionDpi = 300;
constexpr double kMarginMm = 18.0;
constexpr double kFooterMm = 10.0;
constexpr double kCmPerInch = 2.54;
const QString kFontFamily = QStringLiteral("Liberation Sans");

// Charts and the logo are text objects of their own, so that the layout knows their size without
// drawing them. A chart is drawn only when its page is painted, as the graph control's own drawing
// commands (lines, fills and text in the page's vectors); the logo is decoded then.
constexpr int kImageObjectType = QTextFormat::UserObject + 1;
constexpr int kImageIndexProperty = QTextFormat::UserProperty + 1;
constexpr int kImageWidthProperty = QTextFormat::UserProperty + 2;
constexpr int kImageHeightProperty = QTextFormat::UserProperty + 3;
constexpr int kCaptionProperty = QTextFormat::UserProperty + 4;
constexpr int kCaptionHeightProperty = QTextFormat::UserProperty + 5;
constexpr int kObjectWidthProperty = QTextFormat::UserProperty + 6;
constexpr int kLeadsProperty = QTextFormat::UserProperty + 7; // the machine and point headings above
constexpr int kLeadsHeightProperty = QTextFormat::UserProperty + 8;
constexpr double kCaptionPointSize = 11;
// The room a table's caption needs below it on its page (the caption, the header and two rows), and
// what each heading or note above it adds.
constexpr double kTableLeadRoomCm = 2.5;
constexpr double kHeadingRoomCm = 1.2;
// Machine (1), point (2) and graph (3) headings.
constexpr double kHeadingPointSizes[3] = {16, 13, 11};
// A heading's line: its text's height and room above and below it.
constexpr double kHeadingLineFactor = 1.8;

QFont HeadingFont(int level) {
    QFont font(kFontFamily);
    font.setPointSizeF(kHeadingPointSizes[std::clamp(level, 1, 3) - 1]);
    font.setBold(true);
    return font;
}

QFont CaptionFont() {
    return HeadingFont(3);
}

// A heading that opens a machine or a point and goes above the first chart under it.
struct LeadHeading {
    int level = 1;
    QString text;
};

// A picture on a page: a chart, or the logo's PNG.
struct PageImage {
    const ReportImage* chart = nullptr;
    const QByteArray* png = nullptr;
};

class ImageObject final : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // The images are filled in while the document is built; the handler reads them when painting.
    explicit ImageObject(const std::vector<PageImage>& images) : images_(images) {}

    // A chart's heading, and the machine and point headings that open it, are drawn above it
    // inside the same object, so that no heading is left at the foot of a page with its chart on
    // the next.
    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        return {
            std::max(format.doubleProperty(kImageWidthProperty), format.doubleProperty(kObjectWidthProperty)),
            format.doubleProperty(kLeadsHeightProperty) + format.doubleProperty(kCaptionHeightProperty) +
                format.doubleProperty(kImageHeightProperty)};
    }
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override {
        // The layout also hands over an object that opens the next page while the page before is
        // painted (its top lies a rounding error above the page's foot); a chart's own clipping
        // would lift the page's clip, so such an object is left to its page.
        if (painter->hasClipping() && painter->clipBoundingRect().intersected(rect).height() < 1.0) {
            return;
        }
        double top = rect.top();
        painter->save();
        painter->setPen(Qt::black);
        for (const QVariant& entry : format.property(kLeadsProperty).toList()) {
            const QVariantList lead = entry.toList();
            const int level = lead.value(0).toInt();
            const QFont font = HeadingFont(level);
            const double height =
                QFontMetricsF(font, document->documentLayout()->paintDevice()).height() * kHeadingLineFactor;
            painter->setFont(font);
            painter->drawText(QRectF(rect.left(), top, rect.width(), height), Qt::AlignLeft | Qt::AlignBottom,
                              lead.value(1).toString());
            top += height;
        }
        painter->restore();
        const double captionHeight = format.doubleProperty(kCaptionHeightProperty);
        const QString caption = format.stringProperty(kCaptionProperty);
        if (!caption.isEmpty()) {
            painter->save();
            painter->setFont(CaptionFont());
            painter->setPen(Qt::black);
            painter->drawText(QRectF(rect.left(), top, rect.width(), captionHeight),
                              Qt::AlignLeft | Qt::AlignVCenter, caption);
            painter->restore();
        }
        const int index = format.intProperty(kImageIndexProperty);
        if (index < 0 || index >= static_cast<int>(images_.size())) {
            return;
        }
        const double width = format.doubleProperty(kImageWidthProperty);
        const QRectF target(rect.left() + (rect.width() - width) / 2, top + captionHeight, width,
                            format.doubleProperty(kImageHeightProperty));
        const PageImage& shown = images_[static_cast<std::size_t>(index)];
        if (shown.chart != nullptr) {
            shown.chart->Draw(*painter, target);
        } else if (QImage logo; shown.png != nullptr && logo.loadFromData(*shown.png, "PNG")) {
            painter->drawImage(target, logo);
        }
    }

private:
    const std::vector<PageImage>& images_;
};

double DevicePixels(double cm) {
    return cm / kCmPerInch * kResolutionDpi;
}

QTextCharFormat TextFormat(double pointSize, bool bold) {
    QTextCharFormat format;
    format.setFontFamilies({kFontFamily});
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

class PdfBuilder {
public:
    PdfBuilder(QTextDocument& text, std::vector<PageImage>& images)
        : text_(text), images_(images), cursor_(&text) {}

    void Paragraph(const QString& content, double pointSize, bool bold, Qt::Alignment align,
                   double spaceAbove, double spaceBelow, int headingLevel = 0) {
        QTextBlockFormat block;
        block.setAlignment(align);
        block.setTopMargin(spaceAbove);
        block.setBottomMargin(spaceBelow);
        block.setHeadingLevel(headingLevel);
        NextBlock(block, TextFormat(pointSize, bold));
        cursor_.insertText(content);
    }

    // With a caption the object spans the text width, the caption at its left; the lead headings
    // go above the caption.
    void Image(PageImage image, double widthCm, double heightCm, const QString& caption = {},
               const std::vector<LeadHeading>& leads = {}) {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setBottomMargin(DevicePixels(0.2));
        NextBlock(block, TextFormat(10, false));
        QTextCharFormat object;
        object.setObjectType(kImageObjectType);
        object.setProperty(kImageIndexProperty, static_cast<int>(images_.size()));
        object.setProperty(kImageWidthProperty, DevicePixels(widthCm));
        object.setProperty(kImageHeightProperty, DevicePixels(heightCm));
        if (!caption.isEmpty()) {
            const QFontMetricsF metrics(CaptionFont(), text_.documentLayout()->paintDevice());
            object.setProperty(kCaptionProperty, caption);
            object.setProperty(kCaptionHeightProperty, metrics.height() * 1.8);
            object.setProperty(kObjectWidthProperty, text_.pageSize().width());
        }
        if (!leads.empty()) {
            QVariantList list;
            double height = 0;
            for (const LeadHeading& lead : leads) {
                list.push_back(QVariantList{lead.level, lead.text});
                height +=
                    QFontMetricsF(HeadingFont(lead.level), text_.documentLayout()->paintDevice()).height() *
                    kHeadingLineFactor;
            }
            object.setProperty(kLeadsProperty, list);
            object.setProperty(kLeadsHeightProperty, height);
            object.setProperty(kObjectWidthProperty, text_.pageSize().width());
        }
        images_.push_back(image);
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter), object);
    }

    // keepCaption: the caption starts a page of its own when the table's first rows would not
    // follow it on its page (not needed when a heading above already saw to that).
    void Table(const ReportTable& table, bool keepCaption = true) {
        if (!table.caption.isEmpty()) {
            Paragraph(table.caption, 10, true, Qt::AlignLeft, DevicePixels(0.2), DevicePixels(0.1));
            if (keepCaption) {
                KeepWithNext(kTableLeadRoomCm);
            }
        }
        const int columns = static_cast<int>(table.header.size());
        const int rows = static_cast<int>(table.rows.size()) + 1;
        QTextTableFormat format;
        format.setHeaderRowCount(1);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setCellPadding(DevicePixels(0.08));
        format.setCellSpacing(0);
        format.setBorder(1);
        format.setBorderBrush(QColor(128, 128, 128));
        format.setBorderCollapse(true);
        format.setBottomMargin(DevicePixels(0.3));
        QTextTable* layout = cursor_.insertTable(rows, columns, format);
        const auto fill = [layout](int row, int column, const QString& content, const QTextCharFormat& chars,
                                   const QColor* background) {
            QTextTableCell cell = layout->cellAt(row, column);
            if (background != nullptr) {
                QTextCharFormat cellFormat = cell.format();
                cellFormat.setBackground(*background);
                cell.setFormat(cellFormat);
            }
            QTextCursor at = cell.firstCursorPosition();
            at.insertText(content, chars);
        };
        const QColor headerBackground(230, 230, 230);
        for (int column = 0; column < columns; ++column) {
            fill(0, column, table.header[column], TextFormat(8.5, true), &headerBackground);
        }
        for (int row = 1; row < rows; ++row) {
            const std::vector<ReportTableCell>& cells = table.rows[static_cast<std::size_t>(row - 1)];
            for (int column = 0; column < columns && column < static_cast<int>(cells.size()); ++column) {
                const ReportTableCell& cell = cells[static_cast<std::size_t>(column)];
                QTextCharFormat chars = TextFormat(8.5, cell.colour.has_value());
                if (cell.colour) {
                    chars.setForeground(*cell.colour);
                }
                fill(row, column, cell.text, chars, nullptr);
            }
        }
        cursor_.movePosition(QTextCursor::End);
        afterTable_ = true;
    }

    // An empty line of no height. The layout breaks a page before a block only when a block precedes
    // it, so a heading that may have to start a page is not put straight after a table.
    void Spacer() {
        QTextBlockFormat block;
        block.setLineHeight(0, QTextBlockFormat::FixedHeight);
        NextBlock(block, TextFormat(1, false));
    }

    // Moves the block the cursor stands in to the top of the next page when less than roomCm would
    // be left from its top to the foot of its page, so that a heading or caption is not left at the
    // foot of a page while what it heads starts on the next.
    void KeepWithNext(double roomCm) {
        const double page = text_.pageSize().height();
        if (page <= 0) {
            return;
        }
        // Lays out what was added so far (incrementally), so that the block's place is known.
        text_.pageCount();
        const QRectF box = text_.documentLayout()->blockBoundingRect(cursor_.block());
        const double top = std::fmod(box.top(), page);
        if (top > 0 && page - top < DevicePixels(roomCm)) {
            QTextBlockFormat format = cursor_.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor_.setBlockFormat(format);
        }
    }

private:
    // The document starts with one empty block; it takes the first paragraph. After a table the
    // cursor stands in the block that follows it, which takes the next paragraph likewise.
    void NextBlock(const QTextBlockFormat& block, const QTextCharFormat& chars) {
        if (first_ || afterTable_) {
            cursor_.setBlockFormat(block);
            cursor_.setBlockCharFormat(chars);
            cursor_.setCharFormat(chars);
            first_ = false;
            afterTable_ = false;
        } else {
            cursor_.insertBlock(block, chars);
        }
    }

    QTextDocument& text_;
    std::vector<PageImage>& images_;
    QTextCursor cursor_;
    bool first_ = true;
    bool afterTable_ = false;
};

// A heading or a note: a block that leads on to what follows it.
bool LeadsOn(const ReportBlock& block) {
    const auto* heading = std::get_if<ReportHeading>(&block);
    return (heading != nullptr && heading->level < 3) || std::holds_alternative<ReportParagraph>(block);
}

void BuildText(const ReportDocument& document, PdfBuilder& builder) {
    const ReportTitleBlock& title = document.titleBlock;
    if (!title.logoPng.isEmpty() && title.logoPixels.height() > 0) {
        constexpr double kLogoHeightCm = 2.5;
        builder.Image({nullptr, &title.logoPng},
                      kLogoHeightCm * title.logoPixels.width() / title.logoPixels.height(), kLogoHeightCm);
    }
    builder.Paragraph(title.title, 24, true, Qt::AlignHCenter, DevicePixels(0.4), DevicePixels(0.3));
    builder.Paragraph(title.byline, 13, false, Qt::AlignHCenter, 0, DevicePixels(0.1));
    builder.Paragraph(title.dateLabel + QStringLiteral(": ") + title.date, 13, false, Qt::AlignHCenter, 0,
                      DevicePixels(0.4));
    for (std::size_t at = 0; at < document.blocks.size(); ++at) {
        const ReportBlock& block = document.blocks[at];
        // Machine and point headings directly followed by a chart (with or without its own
        // heading) travel with that chart.
        std::vector<LeadHeading> leads;
        std::size_t next = at;
        for (; next < document.blocks.size(); ++next) {
            const auto* lead = std::get_if<ReportHeading>(&document.blocks[next]);
            if (lead == nullptr || lead->level >= 3) {
                break;
            }
            leads.push_back({lead->level, lead->text});
        }
        const auto blockAt = [&document](std::size_t index) {
            return index < document.blocks.size() ? &document.blocks[index] : nullptr;
        };
        const auto* graphHeading = blockAt(next) ? std::get_if<ReportHeading>(blockAt(next)) : nullptr;
        const std::size_t chartAt = graphHeading != nullptr ? next + 1 : next;
        const auto* chart = blockAt(chartAt) ? std::get_if<ReportImage>(blockAt(chartAt)) : nullptr;
        if (chart != nullptr && (graphHeading == nullptr || graphHeading->level >= 3)) {
            builder.Image({chart, nullptr}, chart->widthCm, chart->HeightCm(),
                          graphHeading != nullptr ? graphHeading->text : QString(), leads);
            at = chartAt;
        } else if (const auto* heading = std::get_if<ReportHeading>(&block)) {
            const int level = std::clamp(heading->level, 1, 3);
            const bool runStarts = at == 0 || !LeadsOn(document.blocks[at - 1]);
            std::size_t end = at;
            while (end < document.blocks.size() && LeadsOn(document.blocks[end])) {
                ++end;
            }
            const bool leadsToTable = runStarts && end < document.blocks.size() &&
                                      std::holds_alternative<ReportTable>(document.blocks[end]);
            if (leadsToTable && at > 0 && std::holds_alternative<ReportTable>(document.blocks[at - 1])) {
                builder.Spacer();
            }
            builder.Paragraph(heading->text, kHeadingPointSizes[level - 1], true, Qt::AlignLeft,
                              DevicePixels(level == 1 ? 0.6 : 0.35), DevicePixels(0.15), level);
            // Headings and notes that lead to a table go to the next page with its first rows.
            if (leadsToTable) {
                builder.KeepWithNext(kTableLeadRoomCm + kHeadingRoomCm * static_cast<double>(end - at));
            }
        } else if (const auto* table = std::get_if<ReportTable>(&block)) {
            builder.Table(*table, at == 0 || !LeadsOn(document.blocks[at - 1]));
        } else if (const auto* image = std::get_if<ReportImage>(&block)) {
            builder.Image({image, nullptr}, image->widthCm, image->HeightCm());
        } else if (const auto* text = std::get_if<ReportParagraph>(&block)) {
            builder.Paragraph(text->text, 10, false, Qt::AlignLeft, 0, DevicePixels(0.1));
        }
    }
}

} // namespace

bool WritePdf(const ReportDocument& document, const QString& path, QString* error) {
    const auto fail = [error](const QString& text) {
        if (error != nullptr) {
            *error = text;
        }
        qCWarning(lcReports) << "PDF:" << text;
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolutionDpi);
        writer.setTitle(document.titleBlock.title);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        const QRect page = writer.pageLayout().paintRectPixels(kResolutionDpi);
        const double footer = DevicePixels(kFooterMm / 10.0);
        const QSizeF body(page.width(), page.height() - footer);

        QTextDocument text;
        text.documentLayout()->setPaintDevice(&writer);
        text.setDocumentMargin(0);
        text.setDefaultFont(QFont(kFontFamily, 10));
        text.setPageSize(body);
        std::vector<PageImage> images;
        ImageObject handler(images);
        text.documentLayout()->registerHandler(kImageObjectType, &handler);
        {
            PdfBuilder builder(text, images);
            BuildText(document, builder);
        }

        const int pages = text.pageCount();
        QPainter painter;
        if (!painter.begin(&writer)) {
            return fail(QStringLiteral("cannot paint %1").arg(path));
        }
        QFont footerFont(kFontFamily);
        footerFont.setPointSizeF(9);
        for (int index = 0; index < pages; ++index) {
            if (index > 0) {
                writer.newPage();
            }
            painter.save();
            painter.translate(0, -index * body.height());
            text.drawContents(&painter, QRectF(0, index * body.height(), body.width(), body.height()));
            painter.restore();
            painter.setFont(footerFont);
            painter.setPen(Qt::black);
            const QString footerText = QStringLiteral("%1 %2 %3 %4")
                                           .arg(document.pageWord)
                                           .arg(index + 1)
                                           .arg(document.ofWord)
                                           .arg(pages);
            painter.drawText(QRectF(0, body.height(), body.width(), footer),
                             Qt::AlignHCenter | Qt::AlignBottom, footerText);
            if (!document.program.isEmpty()) {
                painter.drawText(QRectF(0, body.height(), body.width(), footer),
                                 Qt::AlignLeft | Qt::AlignBottom, document.program);
            }
        }
        painter.end();
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

} // namespace vantor

#include "PdfWriter.moc"
