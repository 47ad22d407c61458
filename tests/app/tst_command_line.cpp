#include "TestMain.h"
#include "TestProjects.h"

#include "model/Backups.h"
#include "model/DataFile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

// The program itself, with its folders in `home` and no display: the options need none.
// `platform`: an offscreen window that quits after its first paint, for a whole start.
Outcome runProgram(const QString& home, const QStringList& args, bool platform = false)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (platform) {
        QDir().mkpath(home + QStringLiteral("/run"));
        QFile::setPermissions(home + QStringLiteral("/run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TALLYBROOK_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    }
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TB_APP_BINARY), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCommandLine final : public QObject
{
    Q_OBJECT

private slots:
    void helpListsEveryOption()
    {
        QTemporaryDir home;
        const Outcome o = runProgram(home.path(), {QStringLiteral("--help")});
        QCOMPARE(o.code, 0);
        for (const char* option :
             {"--data-folder DIR", "--backup-now", "--list-backups", "--export-report FILE [--year YYYY]",
              "--export-csv FILE [--year YYYY]", "--help"})
            QVERIFY2(o.out.contains(QLatin1String(option)), option);
    }

    // A backup from the command line copies the file byte for byte and never writes the data file;
    // the list shows it with its projects and its latest year's paid total, and a file set aside
    // with the reason it cannot be read. Without a data file, a clear failure.
    void backUpAndList()
    {
        QTemporaryDir home;
        const QString folder = home.path() + QStringLiteral("/data/Tallybrook");
        const QString file = folder + QStringLiteral("/tallybrook.json");

        Outcome o = runProgram(home.path(), {QStringLiteral("--backup-now")});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.startsWith(QStringLiteral("Could not back up: ")), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(file));
        o = runProgram(home.path(), {QStringLiteral("--list-backups")});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out.trimmed(), QStringLiteral("No backups yet."));

        QVERIFY(QDir().mkpath(folder));
        const QByteArray bytes = *DataFile::encode(AppData::sample());
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QDateTime written = QFileInfo(file).lastModified();
        o = runProgram(home.path(), {QStringLiteral("--backup-now")});
        QCOMPARE(o.code, 0);
        const QString path = o.out.trimmed().mid(QStringLiteral("Backed up to ").size());
        QVERIFY2(Backups::timeOfName(QFileInfo(path).fileName()), qPrintable(o.out));
        QCOMPARE(readFile(path), bytes);
        QCOMPARE(readFile(file), bytes);
        QCOMPARE(QFileInfo(file).lastModified(), written);

        {
            QFile aside(folder + QStringLiteral("/tallybrook-unreadable-1700000000.json"));
            QVERIFY(aside.open(QIODevice::WriteOnly));
            aside.write("{ \"projects\": [");
        }
        o = runProgram(home.path(), {QStringLiteral("--list-backups")});
        QCOMPARE(o.code, 0);
        const QStringList lines = o.out.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).contains(QStringLiteral("37 projects, paid in ")), qPrintable(lines.at(0)));
        QVERIFY(lines.at(0).endsWith(path));
        QVERIFY2(lines.at(1).contains(QStringLiteral("set aside, cannot be read: ")),
                 qPrintable(lines.at(1)));
        QCOMPARE(readFile(file), bytes);
    }

    // The projects of one year or of all years as CSV, read from the data file without changing
    // it; a missing or unreadable data file, a bad year or a file that cannot be written end
    // the run with a message and a non-zero code.
    void exportCsv()
    {
        QTemporaryDir home;
        const QString folder = home.path() + QStringLiteral("/data/Tallybrook");
        const QString file = folder + QStringLiteral("/tallybrook.json");
        const QString out = home.path() + QStringLiteral("/out.csv");
        Outcome o = runProgram(home.path(), {QStringLiteral("--export-csv"), out});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.startsWith(QStringLiteral("Could not export: there is no data file")),
                 qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(out));

        QVERIFY(QDir().mkpath(folder));
        const AppData sample = AppData::sample();
        const QByteArray bytes = *DataFile::encode(sample);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QDateTime written = QFileInfo(file).lastModified();
        o = runProgram(home.path(), {QStringLiteral("--export-csv"), out});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out.trimmed(),
                 QStringLiteral("Exported %1 projects to %2").arg(sample.projects.size()).arg(out));
        QByteArray csv = readFile(out);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFname,client,category,fee,"));
        QCOMPARE(csv.count("\r\n"), sample.projects.size() + 1);

        const int year = sample.projects.first().year();
        int inYear = 0;
        for (const Project& p : sample.projects)
            inYear += p.year() == year ? 1 : 0;
        o = runProgram(home.path(), {QStringLiteral("--year"), QString::number(year),
                                     QStringLiteral("--export-csv"), out});
        QCOMPARE(o.code, 0);
        csv = readFile(out);
        QCOMPARE(csv.count("\r\n"), inYear + 1);
        QVERIFY(inYear < sample.projects.size());
        QVERIFY(csv.contains(QStringLiteral(",%1-").arg(year).toLatin1()));
        QCOMPARE(readFile(file), bytes);
        QCOMPARE(QFileInfo(file).lastModified(), written);

        o = runProgram(home.path(),
                       {QStringLiteral("--export-csv"), out, QStringLiteral("--year"), QStringLiteral("24")});
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains(QStringLiteral("--year needs a year")), qPrintable(o.err));
        o = runProgram(home.path(), {QStringLiteral("--year"), QStringLiteral("2024")});
        QCOMPARE(o.code, 2);
        o = runProgram(home.path(), {QStringLiteral("--export-csv")});
        QCOMPARE(o.code, 2);
        o = runProgram(home.path(), {QStringLiteral("--export-csv"), file + QStringLiteral("/inside.csv")});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.startsWith(QStringLiteral("Could not export: ")), qPrintable(o.err));
        // Never over the data file, however the path spells it.
        o = runProgram(home.path(), {QStringLiteral("--export-csv"),
                                     folder + QStringLiteral("/../Tallybrook/tallybrook.json")});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains(QStringLiteral("is the data file")), qPrintable(o.err));
        QCOMPARE(readFile(file), bytes);

        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("{ \"projects\": [");
        }
        o = runProgram(home.path(), {QStringLiteral("--export-csv"), out});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains(QStringLiteral("cannot be read")), qPrintable(o.err));
        QCOMPARE(readFile(file), QByteArray("{ \"projects\": ["));
    }

    // --data-folder names the folder for one run: the backup and the list act on it, a start
    // keeps its data there, and neither the default folder nor the preference is touched. A
    // folder that cannot be used ends the run with a reason; without --data-folder the folder
    // the preference names is used.
    void dataFolderForOneRun()
    {
        QTemporaryDir home;
        const QString chosen = home.path() + QStringLiteral("/sync/Tallybrook data");
        const QString file = chosen + QStringLiteral("/tallybrook.json");
        const QString defaultFile = home.path() + QStringLiteral("/data/Tallybrook/tallybrook.json");
        const QString config = home.path() + QStringLiteral("/config/Tallybrook/Tallybrook.conf");

        Outcome o = runProgram(home.path(), {QStringLiteral("--data-folder"), chosen}, true);
        QCOMPARE(o.code, 0);
        QCOMPARE(DataFile::decode(readFile(file)).value_or(AppData{}).projects.size(), 37);
        QVERIFY(!QFileInfo::exists(defaultFile));
        QVERIFY(!readFile(config).contains("dataFolder"));

        o = runProgram(home.path(),
                       {QStringLiteral("--backup-now"), QStringLiteral("--data-folder=") + chosen});
        QCOMPARE(o.code, 0);
        const QString path = o.out.trimmed().mid(QStringLiteral("Backed up to ").size());
        QCOMPARE(QFileInfo(path).absolutePath(), chosen + QStringLiteral("/backups"));
        QCOMPARE(readFile(path), readFile(file));
        o = runProgram(home.path(),
                       {QStringLiteral("--data-folder"), chosen, QStringLiteral("--list-backups")});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.trimmed().endsWith(path), qPrintable(o.out));
        QVERIFY(!QFileInfo::exists(defaultFile));

        // The preference, when no option overrides it.
        QVERIFY(QDir().mkpath(QFileInfo(config).absolutePath()));
        {
            QFile f(config);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[General]\ndataFolder=" + chosen.toUtf8() + "\n");
        }
        o = runProgram(home.path(), {QStringLiteral("--list-backups")});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.trimmed().endsWith(path), qPrintable(o.out));

        // Unusable folders: a path under a file, a missing folder to list, no folder at all.
        {
            QFile f(home.path() + QStringLiteral("/afile"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString underFile = home.path() + QStringLiteral("/afile/sub");
        for (const QStringList& args :
             {QStringList{QStringLiteral("--data-folder"), underFile},
              QStringList{QStringLiteral("--data-folder"), underFile, QStringLiteral("--backup-now")},
              QStringList{QStringLiteral("--list-backups"), QStringLiteral("--data-folder"), underFile}}) {
            o = runProgram(home.path(), args, args.size() == 2);
            QVERIFY2(o.code != 0, qPrintable(args.join(QLatin1Char(' '))));
            QVERIFY2(o.err.contains(underFile), qPrintable(o.err));
        }
        o = runProgram(home.path(), {QStringLiteral("--data-folder")});
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains(QStringLiteral("--data-folder needs a folder")), qPrintable(o.err));
    }

    // A data file long enough to be read in two halves on two threads: the start paints the year
    // and quits without a hang or an abort, and leaves the file as it was, in the default folder
    // and in one named for the run.
    void longFileStartsWhole()
    {
        QTemporaryDir home;
        AppData data = AppData::empty();
        const QDate today = QDate::currentDate();
        for (int i = 0; i < 12000; ++i)
            data.projects.append(TestProjects::make(
                QStringLiteral("Poster series %1 for the autumn season").arg(i), 100 + i % 900,
                TestProjects::noon(today.addDays(-(i % 300))), static_cast<Status>(i % 3),
                QStringLiteral("Client %1").arg(i % 40), QStringLiteral("Category %1").arg(i % 7)));
        const QByteArray bytes = *DataFile::encode(data);
        QVERIFY2(bytes.size() > 3 << 20, "not long enough to be read in two halves");

        const QString elsewhere = home.path() + QStringLiteral("/elsewhere");
        const std::pair<QString, QStringList> starts[] = {
            {home.path() + QStringLiteral("/data/Tallybrook"), {}},
            {elsewhere, {QStringLiteral("--data-folder"), elsewhere}}};
        for (const auto& [folder, args] : starts) {
            const QString file = folder + QStringLiteral("/tallybrook.json");
            QVERIFY(QDir().mkpath(folder));
            {
                QFile f(file);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(bytes);
            }
            const Outcome o = runProgram(home.path(), args, true);
            QVERIFY2(o.code == 0, qPrintable(folder + QLatin1Char(' ') + o.err));
            QVERIFY2(o.err.contains(QStringLiteral("first-paint-ns ")), qPrintable(o.err));
            QVERIFY(readFile(file) == bytes);
        }
    }

    // The report from the command line needs no display: a PDF of the current year or the one
    // asked for, in the interface language, and the data file neither written nor touched.
    // Failures end with a reason and a non-zero code, and leave no file.
    void exportReport()
    {
        QTemporaryDir home;
        const QString folder = home.path() + QStringLiteral("/data/Tallybrook");
        const QString file = folder + QStringLiteral("/tallybrook.json");
        const QString pdf = home.path() + QStringLiteral("/out/report.pdf");

        Outcome o = runProgram(home.path(), {QStringLiteral("--export-report"), pdf});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.startsWith(QStringLiteral("Could not export the report: there is no data file")),
                 qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(pdf));

        QVERIFY(QDir().mkpath(folder));
        AppData data = AppData::empty();
        data.projects.append(TestProjects::make(QStringLiteral("Lighthouse Atlas"), 4200,
                                                TestProjects::noon(QDate(2019, 5, 20)), Status::paid,
                                                QStringLiteral("Harbor Press"), QStringLiteral("Books")));
        const QByteArray bytes = *DataFile::encode(data);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QDateTime written = QFileInfo(file).lastModified();

        o = runProgram(home.path(), {QStringLiteral("--export-report"), pdf, QStringLiteral("--year"),
                                     QStringLiteral("2019")});
        QCOMPARE(o.code, 0);
        QVERIFY2(
            o.out.startsWith(QStringLiteral("Saved the 2019 report to ") + pdf + QStringLiteral(" (1 page)")),
            qPrintable(o.out + o.err));
        QVERIFY(readFile(pdf).startsWith("%PDF-"));
        QCOMPARE(readFile(file), bytes);
        QCOMPARE(QFileInfo(file).lastModified(), written);
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/backups")));
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30000));
            const QString out = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY2(out.contains(QStringLiteral("Lighthouse Atlas")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("Year Report 2019")));
        }

        // In Turkish when the interface speaks Turkish; the current year has no projects.
        QVERIFY(QDir().mkpath(home.path() + QStringLiteral("/config/Tallybrook")));
        {
            QFile f(home.path() + QStringLiteral("/config/Tallybrook/Tallybrook.conf"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[General]\napp_language=tr\n");
        }
        o = runProgram(home.path(), {QStringLiteral("--export-report=") + pdf});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.err.contains(QStringLiteral("no projects in")), qPrintable(o.err));
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"),
                       {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30000));
            QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Yıl Raporu")));
        }

        // Usage errors and a target that cannot be written.
        for (const QStringList& args :
             {QStringList{QStringLiteral("--export-report")},
              QStringList{QStringLiteral("--export-report"), pdf, QStringLiteral("--year"),
                          QStringLiteral("19")},
              QStringList{QStringLiteral("--export-report"), pdf, QStringLiteral("--year")},
              QStringList{QStringLiteral("--year"), QStringLiteral("2019")}}) {
            o = runProgram(home.path(), args);
            QVERIFY2(o.code == 2, qPrintable(args.join(QLatin1Char(' '))));
            QVERIFY2(o.err.startsWith(QStringLiteral("tallybrook: ")), qPrintable(o.err));
        }
        for (const QString& target : {file, folder, file + QStringLiteral("/report.pdf")}) {
            o = runProgram(home.path(), {QStringLiteral("--export-report"), target});
            QVERIFY2(o.code == 1, qPrintable(target));
            QVERIFY2(o.err.startsWith(QStringLiteral("Could not export the report: ")), qPrintable(o.err));
        }
        QCOMPARE(readFile(file), bytes);
        QCOMPARE(QFileInfo(file).lastModified(), written);
    }
};

TB_TEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
