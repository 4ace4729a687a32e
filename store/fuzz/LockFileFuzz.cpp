// libFuzzer target: a lock file of any bytes parses without a crash, and its lines written back
// parse to the same lines.
#include "store/DatabaseLockFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor;
    const auto lines = ParseLockFile(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const auto again = ParseLockFile(FormatLockFile(lines));
    if (again.size() != lines.size()) {
        std::abort();
    }
    for (const LockFileLine& line : lines) {
        IsStale(line, QDateTime::currentDateTimeUtc(), QStringLiteral("HOST"));
    }
    return 0;
}
