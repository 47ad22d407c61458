// One Store on a data folder that a sync engine shares, watching its file, driven line by line on
// stdin by tests/e2e/sync_e2e.py. It answers every command with one line on stdout:
//   add NAME             ok ID
//   set-fee ID VALUE     ok
//   rename ID NAME       ok
//   flush                ok (the pending save written)
//   dump                 state {JSON: projects, unsaved, saving, copies, merges, offers, toast}
//   quit                 ok, after the save at quit
// A merge offer is taken as a user would take it: when the toast shows it.
#include "model/Store.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

void reply(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::optional<Project> findProject(const Store& store, const QString& id)
{
    for (const Project& p : store.data().projects) {
        if (p.id == QUuid::fromString(id))
            return p;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: tb_syncprobe FOLDER\n");
        return 2;
    }
    Store store(app.arguments().at(1), false);
    store.setLanguage(AppLanguage::en);
    store.startWatching();

    int offers = 0;
    int merges = 0;
    // Shown offers are counted as they appear; one is clicked only while it is still on screen.
    QObject::connect(&store.ui(), &UiState::toastChanged, &app, [&] {
        if (store.ui().toast() && store.ui().toast()->offersMerge)
            ++offers;
    });
    QTimer clicker;
    clicker.setInterval(100);
    QObject::connect(&clicker, &QTimer::timeout, &app, [&] {
        if (store.ui().toast() && store.ui().toast()->offersMerge) {
            store.mergeConflictCopies();
            ++merges;
        }
    });
    clicker.start();

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) { // the test went away: save and leave
            input.setEnabled(false);
            store.saveBeforeQuit();
            app.exit(0);
            return;
        }
        pending.append(buffer, int(n));
        for (int end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            const QString command = line.section(QLatin1Char(' '), 0, 0);
            const QString arg1 = line.section(QLatin1Char(' '), 1, 1);
            const QString rest1 = line.section(QLatin1Char(' '), 1);
            const QString rest2 = line.section(QLatin1Char(' '), 2);
            if (command == QLatin1String("add") && !rest1.isEmpty()) {
                Project p;
                p.id = QUuid::createUuid();
                p.name = rest1;
                p.status = Status::ongoing;
                p.date = QDateTime(QDate(Store::currentYear(), 6, 15), QTime(12, 0), Qt::LocalTime);
                store.save(p);
                reply("ok " + p.id.toString(QUuid::WithoutBraces).toUtf8());
            } else if ((command == QLatin1String("set-fee") || command == QLatin1String("rename")) &&
                       !rest2.isEmpty()) {
                std::optional<Project> p = findProject(store, arg1);
                bool number = true;
                const double fee = rest2.toDouble(&number);
                if (!p || (command == QLatin1String("set-fee") && !number)) {
                    reply("error no such project or value: " + line.toUtf8());
                    continue;
                }
                if (command == QLatin1String("set-fee"))
                    p->fee = fee;
                else
                    p->name = rest2;
                store.save(*p);
                reply("ok");
            } else if (command == QLatin1String("flush")) {
                store.flushPendingSave();
                reply("ok");
            } else if (command == QLatin1String("dump")) {
                QJsonArray projects;
                for (const Project& p : store.data().projects)
                    projects.append(QJsonObject{{QStringLiteral("id"), p.id.toString(QUuid::WithoutBraces)},
                                                {QStringLiteral("name"), p.name},
                                                {QStringLiteral("fee"), p.fee}});
                const std::optional<Toast>& toast = store.ui().toast();
                const QJsonObject state{{QStringLiteral("projects"), projects},
                                        {QStringLiteral("unsaved"), store.hasUnsavedChanges()},
                                        {QStringLiteral("pending"), store.hasPendingSave()},
                                        {QStringLiteral("saving"), store.isSaving()},
                                        {QStringLiteral("copies"), int(store.conflictCopies().size())},
                                        {QStringLiteral("offers"), offers},
                                        {QStringLiteral("merges"), merges},
                                        {QStringLiteral("toast"), toast ? toast->message : QString()}};
                reply("state " + QJsonDocument(state).toJson(QJsonDocument::Compact));
            } else if (command == QLatin1String("quit")) {
                store.saveBeforeQuit();
                reply("ok");
                app.exit(0);
                return;
            } else {
                reply("error unknown command: " + line.toUtf8());
            }
        }
    });
    return app.exec();
}
