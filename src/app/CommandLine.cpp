#include "app/CommandLine.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/Backups.h"
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

} // namespace

std::optional<int> run(int argc, char** argv, QString* dataFolder)
{
    const char* action = nullptr;
    const char* folderArg = nullptr;
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
        } else if (!action &&
                   (std::strcmp(a, "--backup-now") == 0 || std::strcmp(a, "--list-backups") == 0)) {
            action = a;
        }
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
    return std::strcmp(action, "--backup-now") == 0 ? backUpNow(folder) : listBackups(folder);
}

} // namespace CommandLine
