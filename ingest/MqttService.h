#pragma once
// The ingest service's connection to the broker (libmosquitto): a persistent session (clean
// session off, the settings' client id) subscribed with QoS 1 to the site's overall and waveform
// topics; each message is handled and committed inside the library's message callback, and the
// PUBACK the library queues for it is written only by the network loop's write step after that
// callback returned, so a message is acknowledged only after its commit and one interrupted before
// it is delivered again. Status changes are published retained with
// QoS 1. A lost or refused connection is retried with a doubling back-off up to the settings' cap,
// with a log line each time.

#include "ingest/IngestSettings.h"
#include "ingest/OnlineIngest.h"

#include <atomic>

namespace vantor::ingest {

// Runs until `stop` is set (by a signal handler); the exit status: 0 after a stop, 75 when the
// database kept refusing a message (it was not acknowledged: restart the service to retry it).
int RunIngestService(OnlineIngest& ingest, const IngestSettings& settings, const std::atomic<bool>& stop);

// One line on standard error with the moment: "2026-03-02T12:00:00.123Z vantor-ingest: text".
void LogLine(const QString& text);

} // namespace vantor::ingest
