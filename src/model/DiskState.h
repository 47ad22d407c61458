#pragma once

#include <QByteArray>
#include <QString>
#include <mutex>

// What the program last knew of its data file on disk, shared by the GUI thread and the saving
// thread: a save must not replace a file that someone else changed since.
struct FileStamp
{
    bool exists = false;
    bool regular = false; // something else in the file's place fails the write itself
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    // Another program's write shows as another inode (a rename over the file, as sync engines
    // and editors do) or another size or modification time (a write in place).
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && (!exists || (device == o.device && inode == o.inode && size == o.size &&
                                                  modifiedNs == o.modifiedNs));
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }

    static FileStamp of(const QString& path);
};

// A content checksum of a data file's bytes.
QByteArray contentChecksum(const QByteArray& bytes);

class DiskState
{
public:
    struct Known
    {
        FileStamp stamp;
        QByteArray checksum; // empty when the content was read without one (at a start)
    };

    Known known() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_known;
    }
    void setKnown(const Known& known)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_known = known;
    }
    // Set by the saving thread when it left a save unwritten because the file had changed.
    void setChangedBeforeSave()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changedBeforeSave = true;
    }
    bool takeChangedBeforeSave()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const bool was = m_changedBeforeSave;
        m_changedBeforeSave = false;
        return was;
    }

private:
    mutable std::mutex m_mutex;
    Known m_known;
    bool m_changedBeforeSave = false;
};
