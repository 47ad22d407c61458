// Memory while a start reads the 100,000-project document (bench/BigDocument.h): the peak
// resident set during Store's construction and the resident set after it, read from
// /proc/self/status (VmHWM, VmRSS), with the heap's live bytes after the load (mallinfo2).
// The document is written first by a separate run of this program, so that writing it leaves
// nothing behind in the process measured:
//   bench_load_memory            writes the document to a temporary folder and runs
//   bench_load_memory --start F  the measured start on folder F (prints the figures)
#include "BigDocument.h"
#include "Isolation.h"
#include "model/DataFile.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>

namespace {

// A field of /proc/self/status in kB.
long statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int start(const QString& folder)
{
    // Qt's own start (the libraries, the settings) before the reading is the base.
    const long before = statusKb("VmRSS");
    int projects = 0;
    {
        Store store(folder, false);
        projects = int(store.data().projects.size());
        const long peak = statusKb("VmHWM");
        const long after = statusKb("VmRSS");
        const struct mallinfo2 heap = mallinfo2();
        const double live = double(heap.uordblks + heap.hblkhd) / 1024.0;
        std::printf("projects read: %d\n", projects);
        std::printf("resident before the load: %ld kB\n", before);
        std::printf("peak resident during the load (VmHWM): %ld kB\n", peak);
        std::printf("resident after the load (VmRSS): %ld kB\n", after);
        std::printf("heap in use after the load: %.0f kB\n", live);
        std::printf("peak / resident after: %.2f\n", double(peak) / double(after));
        std::printf("peak growth / resident growth: %.2f\n", double(peak - before) / double(after - before));
    }
    return projects == BigDocument::kProjects ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (!Isolation::isolate())
        return 1;
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--start")
        return start(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    {
        QFile f(dir.path() + QStringLiteral("/tallybrook.json"));
        if (!f.open(QIODevice::WriteOnly) || f.write(*DataFile::encode(BigDocument::bigDocument())) < 0)
            return 1;
        std::printf("document: %lld bytes\n", f.size());
    }
    QProcess measured;
    measured.setProcessChannelMode(QProcess::ForwardedChannels);
    measured.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), dir.path()});
    measured.waitForFinished(-1);
    return measured.exitCode();
}
