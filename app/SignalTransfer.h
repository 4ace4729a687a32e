#pragma once
// Signals in and out in the field's interchange formats, for the command line and the desktop:
// a reading's waveforms (and spectra) written as UFF dataset 58/58b or one channel as WAV, and a
// waveform from a UFF, WAV or CSV file stored as a reading of a chosen point, marked as imported.

#include "interchange/ImportedReading.h"
#include "interchange/WaveformSources.h"
#include "store/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

class CAppData;
class CMainConnection;
class SignalProcessor;

enum class SignalFileFormat {
    Uff58,        // ASCII, values in double precision
    Uff58b,       // binary, little-endian doubles
    Uff58bSingle, // binary, little-endian singles
    Wav,          // one channel, 32-bit float
};

struct SignalExportRequest {
    QString readingGuid; // a route or off-route reading
    QString path;
    SignalFileFormat format = SignalFileFormat::Uff58;
    bool total = true;
    bool iso = true;
    bool spectra = false; // UFF only: the spectra too, in their display units
};

struct SignalExportOutcome {
    bool ok = false;
    QString error;
    int records = 0; // UFF records (or WAV channels) written
};

// Decodes the reading from its row (the ISO waveform is not kept in the cache) and writes the
// file. Nothing is written when the reading has no capture on a chosen channel.
SignalExportOutcome ExportReadingSignals(CAppData& app, SignalProcessor& processor,
                                         const SignalExportRequest& request);

struct SignalImportRequest {
    QString pointGuid;
    QString path;
    std::optional<WaveformFormat> format; // else from the file name
    QDateTime taken;                      // else the file's date
    WaveformChoice choice;
    std::optional<double> runSpeedHz; // else the file's, else the point's
};

struct SignalImportOutcome {
    bool ok = false;
    QString error; // names the file's record, channel or line where it can
    CVibReading reading;
    std::size_t samplesInFile = 0;
    std::size_t samplesUsed = 0;
    double samplingFrequencyHz = 0;
    SignalUnit unit = SignalUnit::G;
    QString note;           // what the reader chose on its own (which UFF record); empty if nothing
    bool duplicate = false; // refused because the point already has a reading at that date
};

// Reads the waveform, builds the reading and stores it with its imported mark in one
// transaction. On any refusal nothing is stored. A point that already has a reading at the date is
// refused (the upload's rule would replace that reading), and so is a run speed given or read from
// the file that the point editor would refuse (0, 5000 Hz, infinite); the point's own run speed is
// taken as it is (0 when the point has none).
SignalImportOutcome ImportReadingSignals(CAppData& app, SignalProcessor& processor,
                                         const SignalImportRequest& request);

// A waveform already read (from a file or a sensor's message) to store as a reading of a point.
struct WaveformReadingRequest {
    ImportedWaveform waveform;
    Channel channel = Channel::Total;
    ChannelFill fill = ChannelFill::Named;
    QDateTime taken;
    std::optional<double> runSpeedHz; // checked by the caller; else the point's own
    QString sourceName;               // the imported mark's source (a file name, a sensor's topic)
    QString format;                   // the imported mark's format ("uff58", "wav", "csv", "mqtt")
};

// The storing half of ImportReadingSignals: builds the reading (power-of-two cut, overall values),
// stores it with its imported mark, takes its indices and judges the point for alarm events. A
// point that already has a reading at the date stores nothing and sets `duplicate`.
SignalImportOutcome StoreWaveformReading(CMainConnection& db, SignalProcessor& processor, const CVib& point,
                                         const WaveformReadingRequest& request);

} // namespace vantor
