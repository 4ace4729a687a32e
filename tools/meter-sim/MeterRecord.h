#pragma once
// The measurement-point record the meter sends for "CMD*GETMP": the two 4096-byte captures after
// "ISO=" and "Total=", then "MP Header=" with its 33 "key = value<" fields in their fixed order.

#include "tools/meter-sim/MeterState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vantor::sim {

// The 33 header keys, in the order the meter writes them.
const QStringList& HeaderKeys();

// Changes to a record, for fault scenarios.
struct RecordDamage {
    int isoBytesMissing = 0;
    int totalBytesMissing = 0;
    QString omittedKey;      // this key (and its value) is not written
    QString unterminatedKey; // this key's value is written without its "<"
};

// The header fields (key, value) of a reading, computed from its recipe unless overridden.
std::vector<std::pair<QString, QString>> HeaderFields(const StoredReading& reading,
                                                      const QString& flashRevision);

// The capture bytes of the two channels.
QByteArray IsoCapture(const StoredReading& reading);
QByteArray TotalCapture(const StoredReading& reading);

// The record as it follows the command echo and "OK": the two captures, then the header.
QByteArray MeasurementPointRecord(const StoredReading& reading, const QString& flashRevision, bool totalFirst,
                                  const RecordDamage& damage = {});

} // namespace vantor::sim
