#include "model/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicWrite {

namespace {

// The system's own words for an error, in English whatever the locale: they go into English
// messages.
QString reason(int error)
{
    const char* text = strerrordesc_np(error);
    return text ? QString::fromUtf8(text) : QStringLiteral("Error %1").arg(error);
}

bool fail(QString* error, int code)
{
    if (error)
        *error = reason(code);
    return false;
}

// Writes the whole buffer, however many calls the kernel wants; errno is kept on failure.
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

// The mode a file of the program's gets: private when new or of the usual 0644, and as the user
// set it otherwise. Nothing when `path` is no regular file.
std::optional<mode_t> privateMode(const QByteArray& path)
{
    struct stat existing;
    if (::stat(path.constData(), &existing) != 0)
        return errno == ENOENT ? std::optional<mode_t>(0600) : std::nullopt;
    if (!S_ISREG(existing.st_mode))
        return std::nullopt;
    const mode_t current = existing.st_mode & 07777;
    return current == 0644 ? 0600 : current;
}

} // namespace

QString temporaryPrefix(const QString& fileName)
{
    return QLatin1Char('.') + fileName + QStringLiteral(".saving-");
}

bool makePath(const QString& folder, QString* error)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(absolute).isDir())
        return true;
    // Each missing level is made private; levels that exist are left as they are.
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute && !makePath(parent, error))
        return false;
    if (::mkdir(QFile::encodeName(absolute).constData(), 0700) != 0 && errno != EEXIST)
        return fail(error, errno);
    return true;
}

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    // A data file that is a link keeps being one: the file it points to is replaced.
    QString target = QFileInfo(path).absoluteFilePath();
    const QFileInfo link(target);
    if (link.isSymLink()) {
        const QString canonical = link.canonicalFilePath();
        target = canonical.isEmpty() ? link.symLinkTarget() : canonical;
    }
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    // The folder may have been deleted under the running program; its document is in memory.
    if (!makePath(folder, error))
        return false;

    // Income figures are private: a new file, or one with the usual 0644, is readable by its owner
    // only. A mode the user chose on purpose is kept.
    const mode_t mode = privateMode(QFile::encodeName(target)).value_or(0600);

    QByteArray temporary =
        QFile::encodeName(folder + QLatin1Char('/') + temporaryPrefix(info.fileName())) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, errno);
    int code = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.constData());
        return fail(error, code);
    }
    // The rename is durable only once the folder itself is synced.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool makePrivate(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (!QFileInfo(path).isFile())
        return false;
    const std::optional<mode_t> mode = privateMode(name);
    return mode && ::chmod(name.constData(), *mode) == 0;
}

} // namespace AtomicWrite

namespace SafeRead {

std::optional<QByteArray> regularFile(const QString& path, qint64 maxBytes, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromUtf8(strerrordesc_np(errno)));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        ::close(fd);
        return fail(QStringLiteral("It is not a regular file of a size the program reads."));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    // As much as the file holds, and a byte more to see it grew: asking for the limit itself
    // would set aside the whole limit's memory at every read.
    QByteArray bytes = file.read(std::min<qint64>(st.st_size, maxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return bytes;
}

} // namespace SafeRead
