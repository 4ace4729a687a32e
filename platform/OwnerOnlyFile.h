#pragma once
// Files only their owner may read: created with mode 0600 from the start (never created wider and
// narrowed afterwards), in a folder created with mode 0700 when it does not exist yet.

#include <QByteArray>
#include <QString>

namespace vantor {

// Makes sure the folder of `path` exists, creating it (the last level with mode 0700) if needed.
bool EnsureFolderOf(const QString& path, QString* error = nullptr);

// Makes sure `path` exists as an owner-only file: creates it empty with mode 0600 when absent
// (and its folder with 0700), and narrows an existing file that others may read or write to 0600
// before anything more is written in it. False (with `error`) when that fails.
bool EnsureOwnerOnlyFile(const QString& path, QString* error = nullptr);

// Replaces the content of `path` whole: written to a temporary file of mode 0600 beside it, synced,
// then renamed over it, so no reader ever sees a part or a wider mode. False (with `error`) when it
// fails; the old content then stays.
bool WriteOwnerOnlyFile(const QString& path, const QByteArray& content, QString* error = nullptr);

} // namespace vantor
