#include "model/SaveQueue.h"

#include "model/AtomicWrite.h"
#include "model/DataFile.h"

SaveQueue::SaveQueue(std::function<void()> finished)
    : m_finished(std::move(finished)), m_writer(&AtomicWrite::write)
{
    m_thread = std::thread([this] { run(); });
}

SaveQueue::~SaveQueue()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SaveQueue::setWriter(Writer writer)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_writer = std::move(writer);
}

void SaveQueue::submit(quint64 serial, const QString& path, AppData snapshot)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pending)
            m_replaced = std::move(m_pending);
        m_pending = Job{serial, path, std::move(snapshot)};
    }
    m_wake.notify_all();
}

void SaveQueue::waitUntilIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_writing; });
}

bool SaveQueue::busy() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_pending || m_writing;
}

QVector<SaveQueue::Result> SaveQueue::takeResults()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_results, {});
}

void SaveQueue::run()
{
    for (;;) {
        std::optional<Job> job;
        std::optional<Job> replaced;
        Writer writer;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_pending || m_replaced || m_stopping; });
            replaced = std::move(m_replaced);
            m_replaced.reset();
            if (!m_pending) {
                if (m_stopping)
                    return;
                continue; // only a replaced snapshot to free, below
            }
            job = std::move(m_pending);
            m_pending.reset();
            m_writing = true;
            writer = m_writer;
        }
        replaced.reset();
        // Copied here, at once: until then a change on the GUI thread would have to copy the
        // large list itself, page faults and all, and the encoding takes far longer than this.
        job->data.projects.detach();

        Result result;
        result.serial = job->serial;
        const QString path = job->path;
        std::optional<QByteArray> bytes = DataFile::encode(job->data, &result.error);
        result.ok = bytes && writer(path, *bytes, &result.error);
        bytes.reset();
        if (result.ok)
            result.written = std::move(job->data);
        job.reset();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_results.append(result);
            m_writing = false;
        }
        m_idle.notify_all();
        if (m_finished)
            m_finished();
    }
}
