#include "app/SingleInstance.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The socket is a plain Unix one rather than Qt's local socket: QtNetwork, with the Kerberos and
// proxy libraries it brings, would otherwise be loaded before every first frame (1.3 ms and
// 1.35 MiB); the exchange rate's request loads it later, when it is made.

namespace {
const QByteArray kReopen = QByteArrayLiteral("reopen\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");
// More than this without a line it understands, and a peer is dropped.
constexpr qsizetype kMostUnanswered = 256;

// The address of the socket file at `path`; false when the path does not fit one.
bool addressOf(const QString& path, sockaddr_un& address, socklen_t& length)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()) + 1);
    return true;
}

// A socket connected to `path`, not blocking; -1 when nobody listens there, or with `*busy` set
// when somebody does but its queue of connections is full.
int connectTo(const QString& path, bool* busy = nullptr)
{
    if (busy)
        *busy = false;
    sockaddr_un address;
    socklen_t length = 0;
    if (!addressOf(path, address, length))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (busy)
            *busy = errno == EAGAIN;
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether `fd` became ready for `events` before the deadline.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd ready{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        const int result = ::poll(&ready, 1, left < 0 ? -1 : int(std::min<qint64>(left, INT_MAX)));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

// `transfer` (a send or a receive on the non-blocking `fd`) tried until it moves bytes, waiting
// for `events` while it would block: the bytes moved, or 0 when the peer is gone, the call failed
// or the deadline passed.
template <typename Transfer>
ssize_t whenReady(int fd, short events, const QDeadlineTimer& deadline, Transfer transfer)
{
    for (;;) {
        const ssize_t n = transfer();
        if (n >= 0)
            return n;
        if (errno == EINTR || ((errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, events, deadline)))
            continue;
        return 0;
    }
}

// One connection from a later start: reads its lines, answers "reopen", and closes itself.
class Peer final : public QObject
{
public:
    Peer(int fd, SingleInstance* instance)
        : QObject(instance), m_fd(fd), m_notifier(fd, QSocketNotifier::Read)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this, instance] { read(instance); });
    }
    ~Peer() override
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

private:
    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;

    void read(SingleInstance* instance)
    {
        bool over = false;
        char chunk[512];
        for (;;) {
            const ssize_t n = ::recv(m_fd, chunk, sizeof(chunk), 0);
            if (n > 0) {
                m_buffer.append(chunk, qsizetype(n));
                if (m_buffer.size() > 4 * kMostUnanswered)
                    break; // looked at below, before any more is read
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            over = !(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)); // closed by the peer, or failed
            break;
        }
        for (qsizetype end = m_buffer.indexOf('\n'); end >= 0; end = m_buffer.indexOf('\n')) {
            const bool reopen = m_buffer.left(end + 1) == kReopen;
            m_buffer.remove(0, end + 1);
            if (reopen) {
                emit instance->reopenRequested();
                (void)::send(m_fd, kDone.constData(), size_t(kDone.size()), MSG_NOSIGNAL);
            }
        }
        // A peer that sends nonsense gets nothing and is dropped.
        if (over || m_buffer.size() > kMostUnanswered) {
            m_notifier.setEnabled(false);
            deleteLater();
        }
    }
};
} // namespace

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(defaultFolder(), parent) {}

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent), m_folder(folder) {}

SingleInstance::~SingleInstance()
{
    if (m_listener >= 0) {
        delete m_incoming;
        ::close(m_listener);
        ::unlink(QFile::encodeName(serverName()).constData());
    }
}

QString SingleInstance::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleInstance::lockPath() const
{
    return m_folder + QStringLiteral("/tallybrook.lock");
}

QString SingleInstance::serverName() const
{
    return m_folder + QStringLiteral("/tallybrook.socket");
}

SingleInstance::Role SingleInstance::acquire()
{
    if (m_role == Role::primary)
        return m_role;
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder)) {
        m_error = QStringLiteral("the runtime folder \"%1\" cannot be created").arg(m_folder);
        return m_role = Role::failed;
    }
    m_lock = std::make_unique<QLockFile>(lockPath());
    // Never stale by age: only a lock whose owner no longer runs is taken over.
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    if (!locked && m_lock->error() == QLockFile::LockFailedError && lockIsLeftover()) {
        m_lock->removeStaleLockFile();
        locked = m_lock->tryLock(0);
    }
    if (!locked) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            m_lock.reset();
            return m_role = Role::secondary;
        }
        m_error = QStringLiteral("the lock file \"%1\" cannot be written").arg(lockPath());
        m_lock.reset();
        return m_role = Role::failed;
    }
    listen();
    return m_role = Role::primary;
}

void SingleInstance::listen()
{
    // Holding the lock makes any socket left behind ours to replace.
    const QString path = serverName();
    const QByteArray name = QFile::encodeName(path);
    ::unlink(name.constData());
    const auto cannot = [&](const char* why) {
        // Still the only writer; a later start just cannot reach this one.
        qWarning("Tallybrook: cannot listen on %s: %s", name.constData(), why);
    };
    sockaddr_un address;
    socklen_t length = 0;
    if (!addressOf(path, address, length))
        return cannot("the path is too long for a socket");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return cannot(std::strerror(errno));
    auto closeOnFailure = qScopeGuard([fd] { ::close(fd); });
    // Made under a name of its own, for this user alone, and only then given the one a later
    // start looks for: nobody else can reach it in between.
    const QByteArray draft = name + '.' + QByteArray::number(qint64(::getpid()));
    sockaddr_un draftAddress;
    socklen_t draftLength = 0;
    const bool drafted = addressOf(QFile::decodeName(draft), draftAddress, draftLength);
    const sockaddr_un& bound = drafted ? draftAddress : address;
    ::unlink(bound.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&bound), drafted ? draftLength : length) != 0)
        return cannot(std::strerror(errno));
    if (::chmod(bound.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 16) != 0 ||
        (drafted && ::rename(draft.constData(), name.constData()) != 0)) {
        const int error = errno;
        ::unlink(bound.sun_path);
        return cannot(std::strerror(error));
    }
    closeOnFailure.dismiss();
    m_listener = fd;
    m_incoming = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &SingleInstance::acceptConnection);
}

bool SingleInstance::lockIsLeftover() const
{
    // A lock naming a process, on this machine or another, is left to QLockFile's own rules.
    qint64 pid = 0;
    QString host, app;
    if (m_lock->getLockInfo(&pid, &host, &app))
        return false;
    // Empty or garbled (a crash of the file system, not a live start): a start writes its lock in
    // one go, so one older than a moment that nobody answers for is a leftover.
    const QFileInfo info(lockPath());
    if (info.lastModified().msecsTo(QDateTime::currentDateTime()) < kFreshLockMs)
        return false;
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        bool busy = false;
        const int fd = connectTo(serverName(), &busy);
        if (fd >= 0) {
            ::close(fd);
            return false;
        }
        if (!busy || deadline.hasExpired())
            return true;
        QThread::msleep(10);
    }
}

void SingleInstance::acceptConnection()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            new Peer(fd, this);
            continue;
        }
        if (errno == EINTR)
            continue;
        return; // none left waiting (or a peer gone before it was taken)
    }
}

bool SingleInstance::askPrimaryToReopen(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    // The primary may hold the lock a moment before it listens.
    while (!deadline.hasExpired()) {
        const int fd = connectTo(serverName());
        if (fd < 0) {
            QThread::msleep(50);
            continue;
        }
        const auto closeAtEnd = qScopeGuard([fd] { ::close(fd); });
        for (qsizetype sent = 0; sent < kReopen.size();) {
            const ssize_t n = whenReady(fd, POLLOUT, deadline, [&] {
                return ::send(fd, kReopen.constData() + sent, size_t(kReopen.size() - sent), MSG_NOSIGNAL);
            });
            if (n == 0)
                return false;
            sent += n;
        }
        QByteArray reply;
        while (!reply.endsWith('\n') && reply.size() <= kDone.size()) {
            char chunk[16];
            const ssize_t n =
                whenReady(fd, POLLIN, deadline, [&] { return ::recv(fd, chunk, sizeof(chunk), 0); });
            if (n == 0)
                break;
            reply.append(chunk, qsizetype(n));
        }
        return reply == kDone;
    }
    return false;
}
