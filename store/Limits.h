#pragma once
// Capacities the editors enforce before anything is written.

namespace vantor {

inline constexpr int kPointsPerMachine = 10;   // vibration points, and lubrication points, each
inline constexpr int kMachinesPerRoute = 1000; // route items of one route
inline constexpr int kAddressesPerMachine = 5; // exception e-mail addresses of one machine

} // namespace vantor
