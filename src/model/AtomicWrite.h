#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace AtomicWrite {
// Writes all bytes to a temporary file beside `path` and renames it over `path`, then syncs the
// folder. The folder is made first when it is missing. A new file, or one with mode 0644, gets
// 0600; another mode is kept. On failure the old file is untouched and `error` holds the
// system's reason.
bool write(const QString& path, const QByteArray& bytes, QString* error);

// The name every temporary of `fileName` begins with: hidden, and unmistakably the program's.
QString temporaryPrefix(const QString& fileName);

// Makes `folder` and any missing parent with mode 0700.
bool makePath(const QString& folder, QString* error = nullptr);

// Tightens a regular file with mode 0644 to 0600; other modes are left. False when it is no
// regular file or cannot be changed.
bool makePrivate(const QString& path);
} // namespace AtomicWrite

namespace SafeRead {
// The bytes of a regular file of at most `maxBytes`, opened without waiting (a FIFO in its place
// would block for good); nothing, with the reason in `error`, for anything else.
std::optional<QByteArray> regularFile(const QString& path, qint64 maxBytes, QString* error);
} // namespace SafeRead
