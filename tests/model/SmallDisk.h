#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

// A tmpfs of a few hundred kilobytes mounted for one test, to see what a full disk does; unmounted
// when it goes, also when the test fails half-way. Mounting needs root.
class SmallDisk
{
public:
    SmallDisk(const QString& mountPoint, const QString& size) : m_path(mountPoint)
    {
        m_mounted = QDir().mkpath(mountPoint) &&
                    run(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=") + size, QStringLiteral("tmpfs"), mountPoint});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {m_path});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }

private:
    static bool run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QString m_path;
    bool m_mounted = false;
};
