// libFuzzer target: a UFF file image of any bytes (dataset 58 in ASCII, 58b in binary) is read,
// a time record chosen as the import chooses it, and a short one built into a reading, without a
// crash and without an allocation sized from a count in the file.
#include "interchange/Uff58.h"
#include "interchange/fuzz/ImportCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray image(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    vantor::ReadUff(image);
    vantor::WaveformChoice choice;
    choice.channel = size % 2 == 0 ? vantor::Channel::Total : vantor::Channel::Iso;
    vantor::fuzz::BuildIfShort(vantor::WaveformFromUff(image, choice), choice.channel);
    return 0;
}
