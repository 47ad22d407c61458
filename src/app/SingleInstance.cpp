#include "app/SingleInstance.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {
const QByteArray kReopen = QByteArrayLiteral("reopen\n");
const QByteArray kDone = QByteArrayLiteral("ok\n");
} // namespace

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(defaultFolder(), parent) {}

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent), m_folder(folder) {}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
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

    // Holding the lock makes any socket left behind ours to replace.
    QLocalServer::removeServer(serverName());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (!m_server->listen(serverName())) {
        // Still the only writer; a later start just cannot reach this one.
        qWarning("Tallybrook: cannot listen on %s: %s", qPrintable(serverName()),
                 qPrintable(m_server->errorString()));
    }
    return m_role = Role::primary;
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
    QLocalSocket socket;
    socket.connectToServer(serverName());
    return !socket.waitForConnected(kAnswerMs);
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kReopen) {
                    emit reopenRequested();
                    socket->write(kDone);
                    socket->flush();
                }
            }
            // A peer that sends nonsense gets nothing and is dropped.
            if (socket->bytesAvailable() > 256)
                socket->abort();
        });
    }
}

bool SingleInstance::askPrimaryToReopen(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    // The primary may hold the lock a moment before it listens.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(qMin<qint64>(deadline.remainingTime(), 500)))) {
            socket.write(kReopen);
            if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
                return false;
            QByteArray reply;
            while (!reply.endsWith('\n') && !deadline.hasExpired()) {
                if (!socket.waitForReadyRead(int(deadline.remainingTime())))
                    break;
                reply += socket.readAll();
            }
            return reply == kDone;
        }
        QThread::msleep(50);
    }
    return false;
}
