#include "app/CommandLine.h"

#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "model/Backups.h"
#include "model/Store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace CommandLine {

namespace {

const char kUsage[] = "Usage: tallybrook [option]\n"
                      "Keeps a studio's projects and the income they bring.\n"
                      "\n"
                      "Options:\n"
                      "  --backup-now     copy the data file into its backups folder and exit\n"
                      "  --list-backups   list the backups and the files set aside, newest first, and exit\n"
                      "  -h, --help       show this help and exit\n"
                      "\n"
                      "Qt's own options (such as -platform) are understood as well.\n";

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

int backUpNow()
{
    const QString file = Store::defaultDataFolder() + QStringLiteral("/tallybrook.json");
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

int listBackups()
{
    QVector<Backups::Entry> entries = Backups::catalog(Store::defaultDataFolder());
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

std::optional<int> run(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(a, "--backup-now") == 0 || std::strcmp(a, "--list-backups") == 0) {
            // Paths and names as the program sees them, without a window or a display.
            QCoreApplication app(argc, argv);
            QCoreApplication::setOrganizationName(QStringLiteral("Tallybrook"));
            QCoreApplication::setApplicationName(QStringLiteral("Tallybrook"));
            return std::strcmp(a, "--backup-now") == 0 ? backUpNow() : listBackups();
        }
    }
    return std::nullopt;
}

} // namespace CommandLine
