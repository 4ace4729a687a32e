#pragma once
// A scenario file (JSON) sets the emulated meter's state and its faults:
//
// {
//   "meter":    {"version": "1.1", "guid": "...", "serial": "...", "btAddress": "...", "number": 7,
//                "lineSpeed": 9600, "screen": 1, "flashRevision": "2.04", "totalFirst": false,
//                "flashFieldDigits": 4, "infoFields": 5},
//   "assets":   [{"guid": "...", "name": "..."}],
//   "points":   [{"asset": "...", "guid": "...", "name": "...", "runSpeedHz": 24.6,
//                 "isoWarning": 4.5, "isoCritical": 7.1, "bduWarning": 10, "bduCritical": 20,
//                 "newData": [0, 2, 9]}],
//   "readings": [{"point": 0, "slot": 0, "taken": "2026-11-30T09:15:00Z", "newData": true,
//                 "mpGuid": "...", "mpName": "...", "aGuid": "...", "aName": "...",
//                 "recipe": {"runSpeedHz": 24.6, "tones": [{"order": 1, "amplitudeG": 0.3},
//                            {"frequencyHz": 120, "amplitudeG": 0.1}],
//                            "bearing": {"defectHz": 87.3, "resonanceHz": 3000, "amplitudeG": 0.8,
//                                        "decaySeconds": 0.002},
//                            "noiseRmsG": 0.01, "seed": 3},
//                 "iso": {"samples": 2048, "samplingHz": 2560, "cal": 1, "gain": 1},
//                 "total": {"samples": 2048, "samplingHz": 12800, "cal": 1, "gain": 1},
//                 "sensitivityMvPerG": 100, "supplyVolts": 3.3, "adcBits": 16,
//                 "header": {"Calc ISO": "1.23"}}],
//   "faults":   [{"command": "INFO", "kind": "silence", "skip": 0, "times": -1, "bytes": 1,
//                 "key": "Calc BDU"}]
// }
//
// Every part is optional. GUIDs are written without braces, as the meter holds them. A reading's
// point, asset and names default to those of its meter point; a reading sets its slot's new-data
// flag unless "newData" is false. Fault kinds: error, no-ok, no-echo, silence, garbage, short-iso,
// short-total, missing-header-key, unterminated-header-key, hang-up.

#include "tools/meter-sim/MeterResponder.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace vantor::sim {

struct Scenario {
    MeterState state;
    std::vector<Fault> faults;
};

// Parses a scenario; false with `error` set when the text is not valid.
bool ParseScenario(const QByteArray& json, Scenario& scenario, QString& error);
bool LoadScenarioFile(const QString& path, Scenario& scenario, QString& error);

} // namespace vantor::sim
