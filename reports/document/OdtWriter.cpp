#include "reports/document/OdtWriter.h"

#include "reports/Log.h"
#include "reports/document/ChartPng.h"
#include "reports/document/ChartSvg.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include <zip.h>

#include <map>
#include <memory>

namespace vantor {
namespace {

// The namespaces every part of the package declares.
constexpr std::pair<const char*, const char*> kNamespaces[] = {
    {"xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"xmlns:style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"xmlns:text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"xmlns:table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"xmlns:draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
    {"xmlns:fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
    {"xmlns:xlink", "http://www.w3.org/1999/xlink"},
    {"xmlns:svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    {"xmlns:meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
    {"xmlns:dc", "http://purl.org/dc/elements/1.1/"},
};

constexpr double kPageTextWidthCm = 17.0;
constexpr int kHeadingLevels = 3;

// Writes one XML part into a byte array.
class XmlPart {
public:
    XmlPart() : xml_(&data_) { xml_.writeStartDocument(); }
    QXmlStreamWriter& operator*() { return xml_; }
    QXmlStreamWriter* operator->() { return &xml_; }
    QByteArray Finish() {
        xml_.writeEndDocument();
        return data_;
    }

private:
    QByteArray data_;
    QXmlStreamWriter xml_;
};

void StartRoot(QXmlStreamWriter& xml, const QString& name) {
    xml.writeStartElement(name);
    for (const auto& [prefix, uri] : kNamespaces) {
        xml.writeAttribute(QLatin1String(prefix), QLatin1String(uri));
    }
    xml.writeAttribute(QStringLiteral("office:version"), QStringLiteral("1.2"));
}

QString Cm(double value) {
    return QString::number(value, 'f', 3) + QStringLiteral("cm");
}

// The manifest's media type of a package file, by its name.
QString MediaType(const QString& name) {
    if (name.endsWith(QLatin1String(".png"))) {
        return QStringLiteral("image/png");
    }
    if (name.endsWith(QLatin1String(".svg"))) {
        return QStringLiteral("image/svg+xml");
    }
    return QStringLiteral("text/xml");
}

QString ImageName(int index) {
    return QStringLiteral("Pictures/chart%1.svg").arg(index, 4, 10, QLatin1Char('0'));
}

QString TextStyleOf(const QColor& colour) {
    return QStringLiteral("C") + colour.name().mid(1);
}

void WriteParagraphStyle(QXmlStreamWriter& xml, const QString& name, const QString& parent, double sizePt,
                         bool bold, bool keepWithNext, const QString& align = {}, double spaceAboveCm = 0.1,
                         double spaceBelowCm = 0.1) {
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), name);
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("paragraph"));
    if (!parent.isEmpty()) {
        xml.writeAttribute(QStringLiteral("style:parent-style-name"), parent);
    }
    xml.writeStartElement(QStringLiteral("style:paragraph-properties"));
    xml.writeAttribute(QStringLiteral("fo:margin-top"), Cm(spaceAboveCm));
    xml.writeAttribute(QStringLiteral("fo:margin-bottom"), Cm(spaceBelowCm));
    if (keepWithNext) {
        xml.writeAttribute(QStringLiteral("fo:keep-with-next"), QStringLiteral("always"));
    }
    if (!align.isEmpty()) {
        xml.writeAttribute(QStringLiteral("fo:text-align"), align);
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("style:text-properties"));
    xml.writeAttribute(QStringLiteral("style:font-name"), QStringLiteral("Liberation Sans"));
    xml.writeAttribute(QStringLiteral("fo:font-family"), QStringLiteral("'Liberation Sans'"));
    xml.writeAttribute(QStringLiteral("fo:font-size"), QString::number(sizePt) + QStringLiteral("pt"));
    if (bold) {
        xml.writeAttribute(QStringLiteral("fo:font-weight"), QStringLiteral("bold"));
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

QByteArray StylesXml(const ReportDocument& document) {
    XmlPart part;
    QXmlStreamWriter& xml = *part;
    StartRoot(xml, QStringLiteral("office:document-styles"));

    xml.writeStartElement(QStringLiteral("office:font-face-decls"));
    xml.writeStartElement(QStringLiteral("style:font-face"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Liberation Sans"));
    xml.writeAttribute(QStringLiteral("svg:font-family"), QStringLiteral("'Liberation Sans'"));
    xml.writeAttribute(QStringLiteral("style:font-family-generic"), QStringLiteral("swiss"));
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("office:styles"));
    WriteParagraphStyle(xml, QStringLiteral("Standard"), {}, 10, false, false);
    WriteParagraphStyle(xml, QStringLiteral("Title"), QStringLiteral("Standard"), 24, true, true,
                        QStringLiteral("center"), 0.4, 0.3);
    WriteParagraphStyle(xml, QStringLiteral("Subtitle"), QStringLiteral("Standard"), 13, false, true,
                        QStringLiteral("center"), 0.1, 0.2);
    const double headingSizes[kHeadingLevels] = {16, 13, 11};
    for (int level = 1; level <= kHeadingLevels; ++level) {
        WriteParagraphStyle(xml, QStringLiteral("Heading_20_%1").arg(level), QStringLiteral("Standard"),
                            headingSizes[level - 1], true, true, {}, level == 1 ? 0.6 : 0.35, 0.15);
    }
    WriteParagraphStyle(xml, QStringLiteral("Table_20_Contents"), QStringLiteral("Standard"), 9, false, false,
                        {}, 0.05, 0.05);
    WriteParagraphStyle(xml, QStringLiteral("Table_20_Heading"), QStringLiteral("Table_20_Contents"), 9, true,
                        false, {}, 0.05, 0.05);
    WriteParagraphStyle(xml, QStringLiteral("Chart"), QStringLiteral("Standard"), 10, false, false,
                        QStringLiteral("center"), 0.1, 0.3);
    WriteParagraphStyle(xml, QStringLiteral("Footer"), QStringLiteral("Standard"), 9, false, false,
                        QStringLiteral("center"));
    xml.writeEndElement(); // office:styles

    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    xml.writeStartElement(QStringLiteral("style:page-layout"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("ReportPage"));
    xml.writeStartElement(QStringLiteral("style:page-layout-properties"));
    xml.writeAttribute(QStringLiteral("fo:page-width"), QStringLiteral("21.0cm"));
    xml.writeAttribute(QStringLiteral("fo:page-height"), QStringLiteral("29.7cm"));
    xml.writeAttribute(QStringLiteral("style:print-orientation"), QStringLiteral("portrait"));
    xml.writeAttribute(QStringLiteral("fo:margin-top"), QStringLiteral("1.5cm"));
    xml.writeAttribute(QStringLiteral("fo:margin-bottom"), QStringLiteral("1.0cm"));
    xml.writeAttribute(QStringLiteral("fo:margin-left"), QStringLiteral("2.0cm"));
    xml.writeAttribute(QStringLiteral("fo:margin-right"), QStringLiteral("2.0cm"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("style:footer-style"));
    xml.writeStartElement(QStringLiteral("style:header-footer-properties"));
    xml.writeAttribute(QStringLiteral("fo:min-height"), QStringLiteral("0.8cm"));
    xml.writeAttribute(QStringLiteral("fo:margin-top"), QStringLiteral("0.4cm"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement(); // page-layout
    xml.writeEndElement(); // automatic-styles

    xml.writeStartElement(QStringLiteral("office:master-styles"));
    xml.writeStartElement(QStringLiteral("style:master-page"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("Standard"));
    xml.writeAttribute(QStringLiteral("style:page-layout-name"), QStringLiteral("ReportPage"));
    xml.writeStartElement(QStringLiteral("style:footer"));
    xml.writeStartElement(QStringLiteral("text:p"));
    xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Footer"));
    xml.writeCharacters(document.pageWord + QLatin1Char(' '));
    xml.writeStartElement(QStringLiteral("text:page-number"));
    xml.writeAttribute(QStringLiteral("text:select-page"), QStringLiteral("current"));
    xml.writeCharacters(QStringLiteral("1"));
    xml.writeEndElement();
    xml.writeCharacters(QLatin1Char(' ') + document.ofWord + QLatin1Char(' '));
    xml.writeTextElement(QStringLiteral("text:page-count"), QStringLiteral("1"));
    xml.writeEndElement(); // text:p
    if (!document.program.isEmpty()) {
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Footer"));
        xml.writeCharacters(document.program);
        xml.writeEndElement();
    }
    xml.writeEndElement(); // footer
    xml.writeEndElement(); // master-page
    xml.writeEndElement(); // master-styles

    xml.writeEndElement();
    return part.Finish();
}

void WriteImageFrame(QXmlStreamWriter& xml, const QString& name, const QString& href, double widthCm,
                     double heightCm) {
    xml.writeStartElement(QStringLiteral("draw:frame"));
    xml.writeAttribute(QStringLiteral("draw:name"), name);
    xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
    xml.writeAttribute(QStringLiteral("svg:width"), Cm(widthCm));
    xml.writeAttribute(QStringLiteral("svg:height"), Cm(heightCm));
    xml.writeStartElement(QStringLiteral("draw:image"));
    xml.writeAttribute(QStringLiteral("xlink:href"), href);
    xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
    xml.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
    xml.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    xml.writeEndElement();
    xml.writeEndElement();
}

void WriteTable(QXmlStreamWriter& xml, const ReportTable& table, int index) {
    if (!table.caption.isEmpty()) {
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Table_20_Heading"));
        xml.writeCharacters(table.caption);
        xml.writeEndElement();
    }
    xml.writeStartElement(QStringLiteral("table:table"));
    xml.writeAttribute(QStringLiteral("table:name"), QStringLiteral("StatusTable%1").arg(index));
    xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("ReportTable"));
    xml.writeStartElement(QStringLiteral("table:table-column"));
    xml.writeAttribute(QStringLiteral("table:number-columns-repeated"), QString::number(table.header.size()));
    xml.writeEndElement();
    const auto writeCell = [&xml](const ReportTableCell& cell, const QString& style) {
        xml.writeStartElement(QStringLiteral("table:table-cell"));
        xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("ReportCell"));
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), style);
        if (cell.colour) {
            xml.writeStartElement(QStringLiteral("text:span"));
            xml.writeAttribute(QStringLiteral("text:style-name"), TextStyleOf(*cell.colour));
            xml.writeCharacters(cell.text);
            xml.writeEndElement();
        } else {
            xml.writeCharacters(cell.text);
        }
        xml.writeEndElement();
        xml.writeEndElement();
    };
    xml.writeStartElement(QStringLiteral("table:table-header-rows"));
    xml.writeStartElement(QStringLiteral("table:table-row"));
    for (const QString& heading : table.header) {
        writeCell({heading, std::nullopt}, QStringLiteral("Table_20_Heading"));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    for (const std::vector<ReportTableCell>& row : table.rows) {
        xml.writeStartElement(QStringLiteral("table:table-row"));
        for (const ReportTableCell& cell : row) {
            writeCell(cell, QStringLiteral("Table_20_Contents"));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement(); // table:table
}

void WriteAutomaticStyles(QXmlStreamWriter& xml, const ReportDocument& document) {
    xml.writeStartElement(QStringLiteral("office:automatic-styles"));
    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("ReportTable"));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table"));
    xml.writeStartElement(QStringLiteral("style:table-properties"));
    xml.writeAttribute(QStringLiteral("style:width"), Cm(kPageTextWidthCm));
    xml.writeAttribute(QStringLiteral("table:align"), QStringLiteral("margins"));
    xml.writeAttribute(QStringLiteral("fo:margin-bottom"), Cm(0.3));
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("style:style"));
    xml.writeAttribute(QStringLiteral("style:name"), QStringLiteral("ReportCell"));
    xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-cell"));
    xml.writeStartElement(QStringLiteral("style:table-cell-properties"));
    xml.writeAttribute(QStringLiteral("fo:padding"), Cm(0.08));
    xml.writeAttribute(QStringLiteral("fo:border"), QStringLiteral("0.5pt solid #808080"));
    xml.writeEndElement();
    xml.writeEndElement();

    std::map<QString, QColor> colours;
    for (const ReportBlock& block : document.blocks) {
        if (const auto* table = std::get_if<ReportTable>(&block)) {
            for (const auto& row : table->rows) {
                for (const ReportTableCell& cell : row) {
                    if (cell.colour) {
                        colours.emplace(TextStyleOf(*cell.colour), *cell.colour);
                    }
                }
            }
        }
    }
    for (const auto& [name, colour] : colours) {
        xml.writeStartElement(QStringLiteral("style:style"));
        xml.writeAttribute(QStringLiteral("style:name"), name);
        xml.writeAttribute(QStringLiteral("style:family"), QStringLiteral("text"));
        xml.writeStartElement(QStringLiteral("style:text-properties"));
        xml.writeAttribute(QStringLiteral("fo:color"), colour.name());
        xml.writeAttribute(QStringLiteral("fo:font-weight"), QStringLiteral("bold"));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray ContentXml(const ReportDocument& document) {
    XmlPart part;
    QXmlStreamWriter& xml = *part;
    StartRoot(xml, QStringLiteral("office:document-content"));
    WriteAutomaticStyles(xml, document);
    xml.writeStartElement(QStringLiteral("office:body"));
    xml.writeStartElement(QStringLiteral("office:text"));

    const ReportTitleBlock& title = document.titleBlock;
    if (!title.logoPng.isEmpty() && title.logoPixels.width() > 0) {
        constexpr double kLogoHeightCm = 2.5;
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Subtitle"));
        WriteImageFrame(xml, QStringLiteral("Logo"), QStringLiteral("Pictures/logo.png"),
                        kLogoHeightCm * title.logoPixels.width() / title.logoPixels.height(), kLogoHeightCm);
        xml.writeEndElement();
    }
    const auto paragraph = [&xml](const QString& style, const QString& text) {
        xml.writeStartElement(QStringLiteral("text:p"));
        xml.writeAttribute(QStringLiteral("text:style-name"), style);
        xml.writeCharacters(text);
        xml.writeEndElement();
    };
    paragraph(QStringLiteral("Title"), title.title);
    paragraph(QStringLiteral("Subtitle"), title.byline);
    paragraph(QStringLiteral("Subtitle"), title.dateLabel + QStringLiteral(": ") + title.date);

    int images = 0;
    int tables = 0;
    for (const ReportBlock& block : document.blocks) {
        if (const auto* heading = std::get_if<ReportHeading>(&block)) {
            const int level = std::clamp(heading->level, 1, kHeadingLevels);
            xml.writeStartElement(QStringLiteral("text:h"));
            xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Heading_20_%1").arg(level));
            xml.writeAttribute(QStringLiteral("text:outline-level"), QString::number(level));
            xml.writeCharacters(heading->text);
            xml.writeEndElement();
        } else if (const auto* table = std::get_if<ReportTable>(&block)) {
            WriteTable(xml, *table, ++tables);
        } else if (const auto* image = std::get_if<ReportImage>(&block)) {
            ++images;
            xml.writeStartElement(QStringLiteral("text:p"));
            xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Chart"));
            WriteImageFrame(xml, QStringLiteral("Chart%1").arg(images), ImageName(images), image->widthCm,
                            image->HeightCm());
            xml.writeEndElement();
        } else if (const auto* text = std::get_if<ReportParagraph>(&block)) {
            paragraph(QStringLiteral("Standard"), text->text);
        }
    }
    xml.writeEndElement(); // office:text
    xml.writeEndElement(); // office:body
    xml.writeEndElement();
    return part.Finish();
}

QByteArray MetaXml(const ReportDocument& document) {
    XmlPart part;
    QXmlStreamWriter& xml = *part;
    StartRoot(xml, QStringLiteral("office:document-meta"));
    xml.writeStartElement(QStringLiteral("office:meta"));
    xml.writeTextElement(QStringLiteral("dc:title"), document.titleBlock.title);
    xml.writeTextElement(QStringLiteral("meta:creation-date"),
                         QDateTime::currentDateTime().toString(Qt::ISODate));
    xml.writeEndElement();
    xml.writeEndElement();
    return part.Finish();
}

QByteArray ManifestXml(const std::vector<OdtEntry>& entries) {
    XmlPart part;
    QXmlStreamWriter& xml = *part;
    xml.writeStartElement(QStringLiteral("manifest:manifest"));
    xml.writeAttribute(QStringLiteral("xmlns:manifest"),
                       QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"));
    xml.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.2"));
    const auto entry = [&xml](const QString& path, const QString& type) {
        xml.writeStartElement(QStringLiteral("manifest:file-entry"));
        xml.writeAttribute(QStringLiteral("manifest:full-path"), path);
        xml.writeAttribute(QStringLiteral("manifest:media-type"), type);
        if (path == QLatin1String("/")) {
            xml.writeAttribute(QStringLiteral("manifest:version"), QStringLiteral("1.2"));
        }
        xml.writeEndElement();
    };
    entry(QStringLiteral("/"), QLatin1String(kOdtMimeType));
    for (const OdtEntry& file : entries) {
        if (file.name == QLatin1String("mimetype")) {
            continue;
        }
        entry(file.name, MediaType(file.name));
    }
    xml.writeEndElement();
    return part.Finish();
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

} // namespace

std::vector<OdtEntry> OdtEntries(const ReportDocument& document) {
    std::vector<OdtEntry> entries;
    entries.push_back({QStringLiteral("mimetype"), QByteArray(kOdtMimeType), true});
    entries.push_back({QStringLiteral("content.xml"), ContentXml(document), false});
    entries.push_back({QStringLiteral("styles.xml"), StylesXml(document), false});
    entries.push_back({QStringLiteral("meta.xml"), MetaXml(document), false});
    if (!document.titleBlock.logoPng.isEmpty()) {
        entries.push_back({QStringLiteral("Pictures/logo.png"), document.titleBlock.logoPng, true});
    }
    std::vector<const ReportImage*> charts;
    for (const ReportBlock& block : document.blocks) {
        if (const auto* image = std::get_if<ReportImage>(&block)) {
            charts.push_back(image);
        }
    }
    std::vector<QByteArray> svgs = EncodeChartSvgs(charts);
    for (std::size_t at = 0; at < svgs.size(); ++at) {
        entries.push_back({ImageName(static_cast<int>(at) + 1), std::move(svgs[at]), false});
    }
    std::vector<OdtEntry> listed = entries;
    entries.push_back({QStringLiteral("META-INF/manifest.xml"), ManifestXml(listed), false});
    return entries;
}

bool WriteOdt(const ReportDocument& document, const QString& path, QString* error) {
    const auto fail = [error](const QString& text) {
        if (error != nullptr) {
            *error = text;
        }
        qCWarning(lcReports) << "ODT:" << text;
        return false;
    };
    const QFileInfo target(path);
    const QString partial = target.dir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    QFile::remove(partial);

    // The archive keeps pointers to the entries' data until it is closed.
    const std::vector<OdtEntry> entries = OdtEntries(document);
    int zipError = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(
        zip_open(QFile::encodeName(partial).constData(), ZIP_CREATE | ZIP_TRUNCATE, &zipError));
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, zipError);
        const QString text = QString::fromUtf8(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return fail(text);
    }
    for (const OdtEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive.get(), entry.data.constData(),
                                                 static_cast<zip_uint64_t>(entry.data.size()), 0);
        if (source == nullptr) {
            return fail(QString::fromUtf8(zip_strerror(archive.get())));
        }
        const zip_int64_t index =
            zip_file_add(archive.get(), entry.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return fail(QString::fromUtf8(zip_strerror(archive.get())));
        }
        if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index),
                                     entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) != 0) {
            return fail(QString::fromUtf8(zip_strerror(archive.get())));
        }
    }
    if (zip_close(archive.get()) != 0) {
        const QString text = QString::fromUtf8(zip_strerror(archive.get()));
        QFile::remove(partial);
        return fail(text);
    }
    archive.release();
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        return fail(QStringLiteral("cannot replace %1").arg(path));
    }
    return true;
}

} // namespace vantor
