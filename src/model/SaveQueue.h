#pragma once

#include "model/AppData.h"

#include <QString>
#include <QVector>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Encodes and writes snapshots of the document on a thread of its own, one at a time and in the
// order they were given. A snapshot given while another waits replaces it: only the newest
// matters. The snapshot shares the document's lists; the queue's thread copies the project list
// before encoding, so that a change made during a save need not copy it on the GUI thread.
class SaveQueue
{
public:
    // How the bytes reach the disk: AtomicWrite::write, or a test's stand-in. Runs on the
    // queue's thread.
    using Writer = std::function<bool(const QString& path, const QByteArray& bytes, QString* error)>;

    struct Result
    {
        quint64 serial = 0;
        bool ok = false;
        QString error;
        // What a successful save wrote: a list of its own (copied on the queue's thread), so that
        // keeping it as the version on disk costs the GUI thread no copy.
        std::optional<AppData> written;
    };

    // `finished` runs on the queue's thread after each write; results wait in takeResults().
    explicit SaveQueue(std::function<void()> finished);
    // Writes what is still waiting, then stops the thread.
    ~SaveQueue();
    SaveQueue(const SaveQueue&) = delete;
    SaveQueue& operator=(const SaveQueue&) = delete;

    void setWriter(Writer writer);
    void submit(quint64 serial, const QString& path, AppData snapshot);
    // Returns once nothing waits and nothing is being written.
    void waitUntilIdle();
    bool busy() const;
    QVector<Result> takeResults();

private:
    struct Job
    {
        quint64 serial = 0;
        QString path;
        AppData data;
    };

    void run();

    std::function<void()> m_finished;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Writer m_writer;
    std::optional<Job> m_pending;
    // A waiting snapshot that a newer one replaced: freed on the queue's thread, since it may
    // hold the last reference to a large list.
    std::optional<Job> m_replaced;
    bool m_writing = false;
    bool m_stopping = false;
    QVector<Result> m_results;
    std::thread m_thread;
};
