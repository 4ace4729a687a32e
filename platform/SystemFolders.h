#pragma once
// The two shared folders the application data lives under. Each is taken from its environment
// variable when set (tests always set both), else from the XDG base directories.

#include <QString>

namespace vantor {

inline constexpr const char* kCommonAppDataVariable = "VANTOR_COMMON_APPDATA";
inline constexpr const char* kUserAppDataVariable = "VANTOR_USER_APPDATA";

// Folder shared by all users of the machine ($VANTOR_COMMON_APPDATA, else the XDG data home).
// Empty when it cannot be determined.
QString CommonAppDataFolder();

// Folder of the current user ($VANTOR_USER_APPDATA, else the XDG config home).
// Empty when it cannot be determined.
QString UserAppDataFolder();

} // namespace vantor
