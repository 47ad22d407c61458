#include "app/CommandLine.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/Backups.h"
#include "model/CsvExport.h"
#include "model/ExportTarget.h"
#include "model/Store.h"
#include "report/YearReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>

namespace CommandLine {

namespace {

const char kUsage[] =
    "Usage: tallybrook [--data-folder DIR] [option]\n"
    "Keeps a studio's projects and the income they bring.\n"
    "\n"
    "Options:\n"
    "  --data-folder DIR  use the data file in DIR for this run only (the preference\n"
    "                     is not changed); the options below act on it\n"
    "  --backup-now       copy the data file into its backups folder and exit\n"
    "  --list-backups     list the backups and the files set aside, newest first, and exit\n"
    "  --export-report FILE [--year YYYY]\n"
    "                     write the year report (PDF) of the current year, or of YYYY,\n"
    "                     to FILE in the interface language, and exit\n"
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

// The document an export is made from; a message after `failed` when there is none to read.
std::optional<AppData> readDataFile(const QString& file, const QString& failed, bool turkishCase)
{
    if (!QFileInfo::exists(file)) {
        print(stderr, failed + QStringLiteral("there is no data file at %1.").arg(file));
        return std::nullopt;
    }
    QString error;
    std::optional<AppData> data = Store::readDocument(file, turkishCase, &error);
    if (!data)
        print(stderr, failed + QStringLiteral("the data file %1 cannot be read: %2").arg(file, error));
    return data;
}

int exportReport(const QString& folder, const QString& out, std::optional<int> year)
{
    const QString file = folder + QStringLiteral("/tallybrook.json");
    const QString failed = QStringLiteral("Could not export the report: ");
    // A store of its own in a scratch folder: the figures of the data file, and nothing the
    // store might write ever reaches the user's folder.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        print(stderr, failed + scratch.errorString());
        return 1;
    }
    Store store(scratch.path(), true);
    std::optional<AppData> data = readDataFile(file, failed, store.turkishCase());
    if (!data)
        return 1;
    store.update([&data](AppData& d) { d = std::move(*data); });
    if (year)
        store.setActiveYear(*year);
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(out));
    int pages = 0;
    QString error;
    if (!YearReport::write(store, path, file, &error, &pages)) {
        print(stderr, failed + error);
        return 1;
    }
    if (store.yearProjects().isEmpty())
        print(stderr,
              QStringLiteral("tallybrook: note: there are no projects in %1.").arg(store.activeYear()));
    print(stdout, QStringLiteral("Saved the %1 report to %2 (%3 %4)")
                      .arg(QString::number(store.activeYear()), path, QString::number(pages),
                           pages == 1 ? QStringLiteral("page") : QStringLiteral("pages")));
    return 0;
}

// A year as YYYY: 1 to 9999, the years the data file can hold.
std::optional<int> yearOf(const char* text)
{
    const QString t = QString::fromLocal8Bit(text);
    bool ok = false;
    const int year = t.toInt(&ok);
    if (!ok || t.size() != 4 || year < 1 || year > 9999)
        return std::nullopt;
    return year;
}

int exportCsv(const QString& folder, const QString& target, std::optional<int> year)
{
    const QString file = folder + QStringLiteral("/tallybrook.json");
    const QString failed = QStringLiteral("Could not export: ");
    const std::optional<AppData> data = readDataFile(file, failed, false);
    if (!data)
        return 1;
    const QVector<Project> projects = CsvExport::select(*data, year);
    // Only read: never written over, whatever the target's spelling.
    QString error = ExportTarget::refusal(target, file, AppLanguage::en);
    if (!error.isEmpty() || !CsvExport::write(target, projects, &error)) {
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
    const char* reportArg = nullptr;
    const char* yearArg = nullptr;
    // The value of an option given as "--name VALUE" or "--name=VALUE"; null when it is not
    // this option. An empty value is a usage error.
    bool missingValue = false;
    const auto valueOf = [&](int& i, const char* name) -> const char* {
        const size_t n = std::strlen(name);
        const char* a = argv[i];
        if (std::strncmp(a, name, n) != 0)
            return nullptr;
        const char* value = nullptr;
        if (a[n] == '=')
            value = a + n + 1;
        else if (a[n] == '\0' && i + 1 < argc)
            value = argv[++i];
        else if (a[n] != '\0')
            return nullptr;
        if (!value || *value == '\0')
            missingValue = true;
        return value ? value : "";
    };
    const char* exportArg = nullptr;
    // The options that take a file or a folder; the exports are also what the run does.
    struct ValueOption
    {
        const char* name;
        const char** value;
        const char* usage;
        bool isAction;
    };
    const ValueOption valueOptions[] = {
        {"--export-report", &reportArg, "tallybrook: --export-report needs a file: --export-report FILE\n",
         true},
        {"--export-csv", &exportArg, "tallybrook: --export-csv needs a file: --export-csv FILE\n", true},
        {"--data-folder", &folderArg, "tallybrook: --data-folder needs a folder: --data-folder DIR\n", false},
    };
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        bool taken = false;
        for (const ValueOption& o : valueOptions) {
            const char* v = valueOf(i, o.name);
            if (!v)
                continue;
            if (missingValue) {
                std::fputs(o.usage, stderr);
                return 2;
            }
            *o.value = v;
            if (o.isAction && !action)
                action = o.name;
            taken = true;
            break;
        }
        if (taken)
            continue;
        if (const char* v = valueOf(i, "--year")) {
            if (missingValue || !yearOf(v)) {
                std::fputs("tallybrook: --year needs a year such as 2026: --year YYYY\n", stderr);
                return 2;
            }
            yearArg = v;
            continue;
        }
        if (!action && (std::strcmp(a, "--backup-now") == 0 || std::strcmp(a, "--list-backups") == 0))
            action = a;
    }
    if (yearArg && !reportArg && !exportArg) {
        std::fputs("tallybrook: --year goes with --export-report FILE or --export-csv FILE\n", stderr);
        return 2;
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
    // Paths and names as the program sees them, without a window. A PDF is drawn with the
    // application's fonts, which take a GUI application; it needs no display, so unless told
    // otherwise it uses none.
    const bool report = std::strcmp(action, "--export-report") == 0;
    if (report && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(report ? new QGuiApplication(argc, argv)
                                                       : new QCoreApplication(argc, argv));
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
    if (report)
        return exportReport(folder, QFile::decodeName(reportArg), yearArg ? yearOf(yearArg) : std::nullopt);
    const std::optional<int> year = yearArg ? yearOf(yearArg) : std::nullopt;
    if (std::strcmp(action, "--export-csv") == 0)
        return exportCsv(folder, QDir(QDir::currentPath()).absoluteFilePath(QFile::decodeName(exportArg)),
                         year);
    return std::strcmp(action, "--backup-now") == 0 ? backUpNow(folder) : listBackups(folder);
}

} // namespace CommandLine
