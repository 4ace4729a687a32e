// libFuzzer target: a CSV waveform of any bytes is read, one column at a sampling frequency the
// first byte chooses or two columns with their times, and a short one built into a reading.
#include "interchange/WaveformCsv.h"
#include "interchange/fuzz/ImportCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // 0 (no rate given), or 25.6 Hz to 6.5 kHz.
    const double rate = data[0] == 0 ? 0.0 : 25.6 * data[0];
    const QByteArray text(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    vantor::WaveformChoice choice;
    choice.samplingFrequencyHz = rate;
    vantor::fuzz::BuildIfShort(vantor::WaveformFromCsv(text, choice), vantor::Channel::Total);
    return 0;
}
