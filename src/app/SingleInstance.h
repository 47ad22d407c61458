#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QSocketNotifier;

// One running Tallybrook per user. The first start holds a lock file in the runtime folder and
// listens on a local socket beside it; a later start hands its request over and leaves.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    enum class Role { primary, secondary, failed };

    // The normal start: lock and socket in the per-user runtime folder.
    explicit SingleInstance(QObject* parent = nullptr);
    // The same in an explicit folder (tests).
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultFolder();

    // A lock file younger than this may be a start writing it; one older, empty or garbled, that
    // nobody answers for within kAnswerMs, is a leftover and is removed.
    static constexpr int kFreshLockMs = 2000;
    static constexpr int kAnswerMs = 300;

    // Takes the lock (removing one left by a process that no longer runs, or an empty or garbled
    // one nobody answers for) and starts listening.
    // Only the primary may open the data file.
    Role acquire();
    Role role() const { return m_role; }
    // Why acquiring failed, for the message shown to the user.
    QString errorString() const { return m_error; }

    // From a secondary start: asks the primary to bring its window forward. False when the
    // primary did not confirm within timeoutMs.
    bool askPrimaryToReopen(int timeoutMs = 3000) const;

    QString lockPath() const;
    QString serverName() const;

signals:
    // Another start asked for the main window.
    void reopenRequested();

private:
    void acceptConnection();
    bool lockIsLeftover() const;

    void listen();

    QString m_folder;
    Role m_role = Role::failed;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    QSocketNotifier* m_incoming = nullptr;
};
