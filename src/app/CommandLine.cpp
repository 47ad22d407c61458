#include "app/CommandLine.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/Backups.h"
#include "model/CsvExport.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace CommandLine {

namespace {

const char kUsage[] =
    "Usage: tallybrook [--data-folder DIR] [option]\n"
    "Keeps a studio's projects and the income they bring.\n"
    "\n"
    "Options:\n"
    "  --data-folder DIR  use the data file in DIR for this run only (the preference\n"
    "                     is not changed); --backup-now and --list-backups act on it\n"
    "  --backup-now       copy the data file into its backups folder and exit\n"
    "  --list-backups     list the backups and the files set aside, newest first, and exit\n"
    "  --export-csv FILE [--year YYYY]\n"
    "                     write the projects (of one year, or of all years) to FILE as\n"
    "                     CSV and exit; the data file is only read\n"
    "  -h, --help         show this help and exit\n"
    "\n"
    "Qt's own options (such as -platform) are understood as well.\n";

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

int backUpNow(const QString& folder)
{
    const QString file = folder + QStringLiteral("/tallybrook.json");
    if (!QFileInfo::exists(file)) {
        print(stderr, QStringLiteral("Could not back up: there is no data file at %1.").arg(file));
        return 1;
    }
    BackupKeeper keeper(file);
    QString result;
    if (!keeper.backUpNow(&result)) {
        print(stderr, QStringLiteral("Could not back up: ") + result);
        return 1;
    }
    print(stdout, QStringLiteral("Backed up to %1").arg(result));
    return 0;
}

int listBackups(const QString& folder)
{
    QVector<Backups::Entry> entries = Backups::catalog(folder);
    if (entries.isEmpty()) {
        print(stdout, QStringLiteral("No backups yet."));
        return 0;
    }
    for (Backups::Entry& e : entries) {
        Backups::describe(e);
        const QString when = e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QString what;
        if (!e.readable) {
            what = QStringLiteral("cannot be read: ") + e.reason;
        } else {
            what = QStringLiteral("%1 %2").arg(e.projects).arg(e.projects == 1 ? "project" : "projects");
            if (e.latestYear > 0)
                what += QStringLiteral(", paid in %1: %2")
                            .arg(e.latestYear)
                            .arg(L10n::money(e.paidLatestYear, AppLanguage::en, e.currency,
                                             CurrencyRate::usdToTry()));
        }
        if (e.setAside)
            what = QStringLiteral("set aside, ") + what;
        print(stdout, QStringLiteral("%1  %2  %3").arg(when, what, e.path));
    }
    return 0;
}

int exportCsv(const QString& folder, const QString& target, std::optional<int> year)
{
    const QString file = folder + QStringLiteral("/tallybrook.json");
    if (!QFileInfo::exists(file)) {
        print(stderr, QStringLiteral("Could not export: there is no data file at %1.").arg(file));
        return 1;
    }
    QString error;
    const std::optional<AppData> data = Store::readDocument(file, false, &error);
    if (!data) {
        print(stderr, QStringLiteral("Could not export: %1 cannot be read: %2").arg(file, error));
        return 1;
    }
    const QVector<Project> projects = CsvExport::select(*data, year);
    if (!CsvExport::write(target, projects, &error)) {
        print(stderr, QStringLiteral("Could not export: ") + error);
        return 1;
    }
    print(stdout, QStringLiteral("Exported %1 %2 to %3")
                      .arg(QString::number(projects.size()),
                           QLatin1String(projects.size() == 1 ? "project" : "projects"), target));
    return 0;
}

} // namespace

std::optional<int> run(int argc, char** argv, QString* dataFolder)
{
    const char* action = nullptr;
    const char* folderArg = nullptr;
    const char* exportArg = nullptr;
    const char* yearArg = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(a, "--data-folder") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fputs("tallybrook: --data-folder needs a folder: --data-folder DIR\n", stderr);
                return 2;
            }
            folderArg = argv[++i];
        } else if (std::strncmp(a, "--data-folder=", 14) == 0) {
            folderArg = a + 14;
            if (*folderArg == '\0') {
                std::fputs("tallybrook: --data-folder needs a folder: --data-folder DIR\n", stderr);
                return 2;
            }
        } else if (std::strcmp(a, "--export-csv") == 0 || std::strcmp(a, "--year") == 0) {
            const bool exporting = a[2] == 'e';
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fputs(exporting ? "tallybrook: --export-csv needs a file: --export-csv FILE\n"
                                     : "tallybrook: --year needs a year: --year YYYY\n",
                           stderr);
                return 2;
            }
            (exporting ? exportArg : yearArg) = argv[++i];
            if (exporting && !action)
                action = a;
        } else if (!action &&
                   (std::strcmp(a, "--backup-now") == 0 || std::strcmp(a, "--list-backups") == 0)) {
            action = a;
        }
    }
    std::optional<int> year;
    if (yearArg) {
        bool ok = false;
        const int y = QString::fromLocal8Bit(yearArg).toInt(&ok);
        if (!ok || y < 1 || y > 9999 || std::strlen(yearArg) != 4) {
            std::fprintf(stderr, "tallybrook: --year needs a year such as 2024, not \"%s\"\n", yearArg);
            return 2;
        }
        if (!exportArg) {
            std::fputs("tallybrook: --year goes with --export-csv FILE\n", stderr);
            return 2;
        }
        year = y;
    }
    const QString given =
        folderArg ? QDir::cleanPath(QDir(QFile::decodeName(folderArg)).absolutePath()) : QString();
    if (!action) {
        if (!folderArg)
            return std::nullopt;
        // Checked before anything starts: a folder that cannot take the file is said at once.
        QString why;
        if (!Store::folderUsable(given, true, &why)) {
            print(stderr, QStringLiteral("tallybrook: cannot use the data folder: ") + why);
            return 1;
        }
        if (dataFolder)
            *dataFolder = given;
        return std::nullopt;
    }
    // Paths and names as the program sees them, without a window or a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallybrook"));
    QString folder = given;
    if (folderArg) {
        if (!QFileInfo(given).isDir()) {
            print(stderr,
                  QStringLiteral("tallybrook: cannot use the data folder: %1 is not a folder.").arg(given));
            return 1;
        }
    } else {
        QString unusable;
        folder = Store::preferredDataFolder(&unusable);
        if (!unusable.isEmpty())
            print(stderr, QStringLiteral("tallybrook: the chosen data folder cannot be used (%1); using %2.")
                              .arg(unusable, folder));
    }
    if (std::strcmp(action, "--export-csv") == 0)
        return exportCsv(folder, QDir(QDir::currentPath()).absoluteFilePath(QFile::decodeName(exportArg)),
                         year);
    return std::strcmp(action, "--backup-now") == 0 ? backUpNow(folder) : listBackups(folder);
}

} // namespace CommandLine
