// libFuzzer target: a measurement-point reply of any bytes goes through the collection's capture
// split, the judging and the header parse as the upload takes it, without a crash; the captures
// never grow past their size.
#include "device/MeasurementPointRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    CaptureSplitter splitter;
    QString text;
    for (std::size_t i = 0; i < size; ++i) {
        text += QChar(static_cast<char16_t>(data[i]));
        splitter.Take(data[i], text);
    }
    const MeasurementPointReply reply = splitter.Finish(text);
    if (reply.isoCapture.size() > kMeasurementCaptureBytes ||
        reply.totalCapture.size() > kMeasurementCaptureBytes) {
        std::abort();
    }
    JudgeMeasurementPointReply(reply, QStringLiteral("CMD*GETMP=0,0"));
    MeasurementPointHeader header;
    if (ParseMeasurementPointHeader(reply.text, header) == 0) {
        HeaderDateTime(header.taken);
    }
    return 0;
}
