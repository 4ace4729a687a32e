// libFuzzer target: any byte string read as a data file must end in Done or Failed, never crash,
// never allocate beyond what the data can hold.
#include "store/DataFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    ArchiveReader reader(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const DataFileSink sink{
        [](const CMachine&) { return true; },    [](const CVib&) { return true; },
        [](const CVibReading&) { return true; }, [](const CRoute&) { return true; },
        [](const CRouteItem&) { return true; },
    };
    DataFileProgress progress;
    ReadDataFile(reader, sink, progress);
    return 0;
}
