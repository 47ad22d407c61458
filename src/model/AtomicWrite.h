#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicWrite {
// Writes all bytes to a temporary file beside `path` and renames it over `path`, then
// syncs the folder. On failure the old file is untouched and `error` says why.
bool write(const QString& path, const QByteArray& bytes, QString* error);
} // namespace AtomicWrite
