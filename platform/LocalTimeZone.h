#pragma once
// The process's local time zone, resolved once.

namespace vantor {

// With TZ unset, the C library looks at /etc/localtime again at every local-time conversion (one
// file-status call per date a query returns); with TZ=":/etc/localtime" it reads the system's zone
// once and keeps it. Sets that when TZ is unset and the file exists, so every conversion afterwards
// uses the zone read at the start. A zone changed on the system while the program runs is seen at
// its next start. Call at the start of main, before any thread runs.
void PinLocalTimeZone();

} // namespace vantor
