#include "analysis/SignalCsv.h"

#include "analysis/DisplayedSpectrum.h"
#include "analysis/ViewTexts.h"

#include <QFileInfo>

#include <array>

namespace vantor {
namespace {

constexpr const char* kTextExtension = ".txt";
constexpr const char* kCsvExtension = ".csv";

// Windows-1252 code points of the bytes 0x80..0x9F (0 where the code page leaves one undefined);
// the other bytes equal Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr char kUnmappable = '?';

char Windows1252Byte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
        if (kWindows1252High[i] != 0 && kWindows1252High[i] == unit) {
            return static_cast<char>(0x80 + i);
        }
    }
    return kUnmappable;
}

QByteArray ToWindows1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        bytes.append(Windows1252Byte(c.unicode()));
    }
    return bytes;
}

QByteArray ToUtf16LeWithMark(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QString Line(const char* format, const QString& a, const QString& b) {
    return QString::asprintf(format, qUtf8Printable(a), qUtf8Printable(b));
}

} // namespace

QString CsvTargetPath(const QString& chosenPath) {
    if (chosenPath.endsWith(QLatin1String(kTextExtension), Qt::CaseInsensitive)) {
        return chosenPath.chopped(4) + QLatin1String(kCsvExtension);
    }
    return chosenPath;
}

QString SignalCsvText(const ReadingSignals& decoded, const SignalCsvInput& input) {
    const ChannelSignals& total = decoded.total;
    const QString unit = input.units.FrequencyLabel();
    const float factor = input.units.FrequencyFactor();
    QString out;
    out += Line("%s,%s\r\n", UiText(text::MachineName), input.machineName);
    out += Line("%s,%s\r\n\r\n", UiText(text::VibPointName), input.pointName);
    if (input.content == CsvContent::Spectrum) {
        out += QString::asprintf("%s (%s),%.0f\r\n", qUtf8Printable(UiText(text::FmaxLabel)),
                                 qUtf8Printable(unit), static_cast<double>(total.fmaxHz * factor));
        out +=
            QString::asprintf("%s,%d\r\n\r\n", qUtf8Printable(UiText(text::NumberOfLines)), total.lineCount);
    } else {
        out +=
            QString::asprintf("%s (%s),%.0f\r\n", qUtf8Printable(UiText(text::SamplingFrequencyLabel)),
                              qUtf8Printable(unit), static_cast<double>(total.samplingFrequencyHz * factor));
        out += QString::asprintf("%s,%d\r\n\r\n", qUtf8Printable(UiText(text::NumberOfSamples)),
                                 total.sampleCount);
    }
    out += QString::asprintf("%s,%s %s\r\n\r\n", qUtf8Printable(UiText(text::DateTime)),
                             qUtf8Printable(input.dateText), qUtf8Printable(input.timeText));
    if (input.content == CsvContent::Spectrum) {
        out += QString::asprintf("%s (%s),%s (g)\r\n", qUtf8Printable(UiText(text::FrequencyLabel)),
                                 qUtf8Printable(unit), qUtf8Printable(UiText(text::TotalLabel)));
        // Acceleration stays in g, as the header says.
        const std::optional<DisplayedSpectrum> shown =
            MakeDisplayedSpectrum(decoded, MeasureKind::Acceleration, input.units, input.consolidatePeaks);
        const float spacing = total.fmaxHz * factor / static_cast<float>(total.lineCount);
        for (std::int32_t k = 0; k < total.lineCount; ++k) {
            const double y = static_cast<std::size_t>(k) < shown->lines.size()
                                 ? shown->lines[static_cast<std::size_t>(k)]
                                 : 0.0;
            out += QString::asprintf("%f,%f\r\n", static_cast<double>(spacing) * k, y);
        }
    } else {
        out += QString::asprintf("%s (Secs),%s (g)\r\n", qUtf8Printable(UiText(text::TimeLabel)),
                                 qUtf8Printable(UiText(text::TotalLabel)));
        const double fs = total.samplingFrequencyHz;
        for (std::size_t i = 0; i < total.waveform.size(); ++i) {
            out += QString::asprintf("%f,%f\r\n", static_cast<double>(i) / fs, total.waveform[i]);
        }
    }
    return out;
}

QByteArray EncodeCsvText(const QString& text, const QString& targetPath) {
    if (targetPath.endsWith(QLatin1String(kCsvExtension), Qt::CaseInsensitive)) {
        return ToWindows1252(text);
    }
    return ToUtf16LeWithMark(text);
}

} // namespace vantor
