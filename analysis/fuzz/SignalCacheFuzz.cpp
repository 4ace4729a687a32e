// libFuzzer target: a signal cache file of any bytes decodes or is refused without a crash or an
// allocation beyond what the file can hold; what decodes encodes again.
#include "analysis/SignalCache.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    ReadingSignals decoded;
    if (DecodeSignalCache(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
            decoded)) {
        EncodeSignalCache(decoded);
    }
    return 0;
}
