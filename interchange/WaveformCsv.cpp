#include "interchange/WaveformCsv.h"

#include "interchange/Log.h"

#include <QList>

#include <charconv>
#include <cmath>
#include <optional>

namespace vantor {
namespace {

// Times may stray from the even grid by this share of one sample interval: enough for times written
// to a few digits (microseconds at 25.6 kHz stray by 1.3 % of an interval), while a missing, doubled
// or shifted sample (half an interval or more) is still refused.
constexpr double kTimeJitter = 0.25;
// A computed rate this close (relative) to a whole number of hertz is that number.
constexpr double kWholeRateTolerance = 1e-5;

std::optional<double> Number(QByteArray field, bool decimalComma) {
    field = field.trimmed();
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = field.mid(1, field.size() - 2).trimmed();
    }
    if (decimalComma) {
        field.replace(',', '.');
    }
    const char* begin = field.constData();
    const char* end = begin + field.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

char SeparatorOf(const QByteArray& line) {
    for (const char c : {';', ',', '\t'}) {
        if (line.contains(c)) {
            return c;
        }
    }
    return ' ';
}

QList<QByteArray> Split(const QByteArray& line, char separator) {
    if (separator == ' ') {
        return line.simplified().split(' ');
    }
    return line.split(separator);
}

} // namespace

CsvWaveformResult ReadWaveformCsv(const QByteArray& text, double givenSamplingFrequencyHz) {
    CsvWaveformResult result;
    const auto fail = [&result](int line, const QString& why) {
        result.waveform = {};
        result.error = QStringLiteral("line %1: %2").arg(line).arg(why);
        qCWarning(lcInterchange) << "CSV waveform refused:" << result.error;
        return result;
    };

    std::vector<double> times;
    std::vector<int> timeLines;
    std::vector<double> values;
    char separator = 0;
    bool decimalComma = false;
    int columns = 0;
    int firstDataLine = 0;
    int lineNumber = 0;
    bool firstLine = true;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0) {
            end = text.size();
        }
        QByteArray line = text.mid(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (lineNumber == 1 && line.startsWith("\xEF\xBB\xBF")) {
            line.remove(0, 3); // UTF-8 byte-order mark
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        if (separator == 0) {
            separator = SeparatorOf(line);
            decimalComma = separator == ';';
        }
        const QList<QByteArray> fields = Split(line.trimmed(), separator);
        std::vector<double> numbers;
        numbers.reserve(static_cast<std::size_t>(fields.size()));
        bool numeric = true;
        for (const QByteArray& field : fields) {
            const auto number = Number(field, decimalComma);
            if (!number) {
                numeric = false;
                break;
            }
            numbers.push_back(*number);
        }
        if (firstLine) {
            firstLine = false;
            if (!numeric) {
                continue; // the header line
            }
        }
        if (!numeric) {
            return fail(lineNumber,
                        QStringLiteral("\"%1\" is not a number").arg(QString::fromUtf8(line.trimmed())));
        }
        if (columns == 0) {
            columns = static_cast<int>(numbers.size());
            firstDataLine = lineNumber;
            if (columns != 1 && columns != 2) {
                return fail(lineNumber, QStringLiteral("%1 fields; a waveform has one column (value) or two "
                                                       "(time, value)")
                                            .arg(columns));
            }
            if (columns == 1 && !(givenSamplingFrequencyHz > 0)) {
                return fail(lineNumber, QStringLiteral("one column of values needs the sampling frequency"));
            }
        } else if (static_cast<int>(numbers.size()) != columns) {
            return fail(lineNumber, QStringLiteral("%1 fields where line %2 has %3")
                                        .arg(numbers.size())
                                        .arg(firstDataLine)
                                        .arg(columns));
        }
        if (columns == 2) {
            if (!times.empty() && numbers[0] <= times.back()) {
                return fail(
                    lineNumber,
                    QStringLiteral("time %1 s does not follow %2 s").arg(numbers[0]).arg(times.back()));
            }
            times.push_back(numbers[0]);
            timeLines.push_back(lineNumber);
        }
        values.push_back(numbers.back());
    }
    if (values.size() < 2) {
        return fail(lineNumber,
                    QStringLiteral("the file holds %1 samples; a waveform needs more").arg(values.size()));
    }

    double rate = givenSamplingFrequencyHz;
    if (columns == 2) {
        // The sample interval is the least-squares slope of time over sample number (ordinary least
        // squares, as in any statistics text), so times rounded to a few digits give the rate of all
        // of them rather than of the first and last alone.
        const double n = static_cast<double>(times.size());
        const double meanIndex = (n - 1) / 2;
        double meanTime = 0;
        for (const double t : times) {
            meanTime += t / n;
        }
        double covariance = 0;
        double variance = 0;
        for (std::size_t i = 0; i < times.size(); ++i) {
            const double di = static_cast<double>(i) - meanIndex;
            covariance += di * (times[i] - meanTime);
            variance += di * di;
        }
        const double step = covariance / variance;
        // Each time must lie on that even grid.
        for (std::size_t i = 0; i < times.size(); ++i) {
            const double grid = meanTime + (static_cast<double>(i) - meanIndex) * step;
            if (std::fabs(times[i] - grid) > kTimeJitter * step) {
                return fail(
                    timeLines[i],
                    QStringLiteral("time %1 s is off the even spacing of %2 s").arg(times[i]).arg(step));
            }
        }
        rate = 1.0 / step;
        const double whole = std::round(rate);
        if (whole > 0 && std::fabs(rate - whole) <= kWholeRateTolerance * whole) {
            rate = whole;
        }
    }
    result.waveform.values = std::move(values);
    result.waveform.samplingFrequencyHz = rate;
    return result;
}

} // namespace vantor
