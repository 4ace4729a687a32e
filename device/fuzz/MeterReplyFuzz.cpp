// libFuzzer target: any bytes a meter sends back to GETINFO or GETNEWDATA are parsed without a
// crash, and the flags decoded never exceed the bits the payload holds.
#include "device/MeterCommands.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    MeterInfo info;
    ParseInfoReply(QString::fromLatin1(bytes), info);
    int count = 0;
    const NewDataFlags flags = DecodeNewDataPayload(bytes, count);
    if (flags.size() != static_cast<std::size_t>(bytes.size() / 2) ||
        count > static_cast<int>(flags.size()) * kSlotsPerMeterPoint) {
        std::abort();
    }
    return 0;
}
