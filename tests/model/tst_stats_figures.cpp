#include "TestMain.h"
#include "TestProjects.h"

#include "model/DataFile.h"
#include "model/Store.h"
#include "model/StatsFigures.h"

#include <QRandomGenerator>

using namespace StatsFigures;

namespace {

// As the data file gives them back: a local wall-clock time, held in UTC.
QDateTime localAt(int y, int m, int d, int h = 12, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime).toUTC();
}

Project make(const QString& name, double fee, const QDateTime& date, Status status = Status::paid,
             const QString& client = QStringLiteral("Client"),
             const QString& category = QStringLiteral("Branding"), double outsource = 0)
{
    return TestProjects::make(name, fee, date, status, client, category, outsource);
}

QStringList names(const QVector<NamedTotal>& list)
{
    QStringList out;
    for (const NamedTotal& t : list)
        out << t.name;
    return out;
}

} // namespace

class TestStatsFigures final : public QObject
{
    Q_OBJECT

private slots:
    void onlyPaidProjectsOfTheRangeCount()
    {
        const QVector<Project> projects{
            make("a", 1000, localAt(2025, 2, 3), Status::paid, "C", "X", 200),
            make("b", 9000, localAt(2025, 2, 4), Status::pending),
            make("c", 7000, localAt(2025, 5, 4), Status::ongoing),
            make("d", 500, localAt(2025, 6, 1), Status::paid, "C", "X", 0),
            make("e", 300, localAt(2024, 6, 1), Status::paid),
        };
        const QVector<PaidEntry> year = paid(projects, false, 2025);
        QCOMPARE(year.size(), 2);
        QCOMPARE(year[0].project->name, QStringLiteral("a"));
        QCOMPARE(year[1].project->name, QStringLiteral("d"));
        const Sums s = sums(year);
        QCOMPARE(s.gross, 1500.0);
        QCOMPARE(s.outsource, 200.0);
        QCOMPARE(s.net, 1300.0);
        // Bars and client totals use fees, not fees less outsourcing.
        QCOMPARE(monthTotals(year, AppLanguage::en)[1].value, 1000.0);
        QCOMPARE(totals(year, &Project::client).first().amount, 1500.0);

        const QVector<PaidEntry> all = paid(projects, true, 2025);
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[2].project->name, QStringLiteral("e"));
        QCOMPARE(sums(all).gross, 1800.0);

        const Figures none = compute(projects, false, 2019, AppLanguage::en);
        QCOMPARE(none.paidCount, 0);
        QCOMPARE(none.sums.net, 0.0);
        QVERIFY(!none.peakBar);
        QVERIFY(!none.peakMonth);
        QVERIFY(none.clients.isEmpty());
        QVERIFY(!none.topProject);
        QCOMPARE(none.months.size(), 12);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(none.months[i].index, i);
            QCOMPARE(none.months[i].value, 0.0);
        }
    }

    void peakBarFoldsYearsButPeakMonthKeepsThemApart()
    {
        const QVector<Project> projects{
            make("m24", 500, localAt(2024, 3, 10)),
            make("m25", 600, localAt(2025, 3, 10)),
            make("a25", 1000, localAt(2025, 4, 10)),
        };
        const Figures all = compute(projects, true, 2025, AppLanguage::en);
        QCOMPARE(all.months[2].value, 1100.0);
        QCOMPARE(all.months[3].value, 1000.0);
        QCOMPARE(all.peakBar, std::optional<int>(2));
        QVERIFY(all.peakMonth);
        QCOMPARE(all.peakMonth->label, TestEnv::pick("April 2025", "April 2025", "Nisan 2025"));
        QCOMPARE(all.peakMonth->amount, 1000.0);
        QCOMPARE(compute(projects, true, 2025, AppLanguage::tr).peakMonth->label,
                 QStringLiteral("Nisan 2025"));

        const Figures y2025 = compute(projects, false, 2025, AppLanguage::tr);
        QCOMPARE(y2025.peakBar, std::optional<int>(3));
        QCOMPARE(y2025.peakMonth->label, QStringLiteral("Nisan"));
        QCOMPARE(y2025.months[2].label, QStringLiteral("Mar"));
        QCOMPARE(y2025.months[7].label, QStringLiteral("Ağu"));
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).peakMonth->label,
                 TestEnv::pick("April", "April", "Nisan"));
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).months[0].label,
                 TestEnv::pick("Jan", "Jan.", "Oca"));

        // Equal highest totals: the earlier month wins, for the bar and for the card.
        const QVector<Project> tie{make("x", 700, localAt(2025, 9, 1)), make("y", 700, localAt(2025, 5, 1))};
        const Figures t = compute(tie, false, 2025, AppLanguage::en);
        QCOMPARE(t.peakBar, std::optional<int>(4));
        QCOMPARE(t.peakMonth->month, 5);
        // A year-month of an earlier year wins a tie in all-time mode.
        const QVector<Project> yearsTie{make("x", 700, localAt(2025, 1, 1)),
                                        make("y", 700, localAt(2024, 12, 1))};
        QCOMPARE(compute(yearsTie, true, 2025, AppLanguage::en).peakMonth->label,
                 TestEnv::pick("December 2024", "Dezember 2024", "Aralık 2024"));

        // Paid projects of fee 0 give no peak at all.
        const QVector<Project> zero{make("z", 0, localAt(2025, 4, 1))};
        const Figures z = compute(zero, false, 2025, AppLanguage::en);
        QCOMPARE(z.paidCount, 1);
        QVERIFY(!z.peakBar);
        QVERIFY(!z.peakMonth);
    }

    void lateOnNewYearsEveCountsInDecember()
    {
        const QVector<Project> projects{make("late", 800, localAt(2024, 12, 31, 23, 30))};
        const Figures f = compute(projects, false, 2024, AppLanguage::en);
        QCOMPARE(f.paidCount, 1);
        QCOMPARE(f.months[11].value, 800.0);
        QCOMPARE(f.peakMonth->label, TestEnv::pick("December", "Dezember", "Aralık"));
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).paidCount, 0);
    }

    void namedTotalsGroupExactTextAndBreakTiesByCodePoint()
    {
        const QDateTime d = localAt(2025, 1, 5);
        const QVector<Project> projects{
            make("1", 100, d, Status::paid, "alpha", ""),
            make("2", 100, d, Status::paid, "Zeta", "Print"),
            make("3", 50, d, Status::paid, "Alpha ", "Print"),
            make("4", 30, d, Status::paid, "", ""),
            make("5", 20, d, Status::paid, "", "Web"),
        };
        const QVector<PaidEntry> list = paid(projects, false, 2025);
        const QVector<NamedTotal> clients = totals(list, &Project::client);
        QCOMPARE(names(clients), (QStringList{"Zeta", "alpha", "", "Alpha "}));
        QCOMPARE(clients[2].amount, 50.0);
        QCOMPARE(topClient(list)->name, QStringLiteral("Zeta"));
        QCOMPARE(topClient(list)->amount, 100.0);
        const QVector<NamedTotal> categories = totals(list, &Project::category);
        QCOMPARE(categories, (QVector<NamedTotal>{{"Print", 150}, {"", 130}, {"Web", 20}}));

        // U+FF5E sorts before U+1F600 by code point, though its UTF-16 unit is larger.
        const QString wide = QString(QChar(0xFF5E));
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QVERIFY(codePointLess(wide, emoji));
        QVERIFY(!codePointLess(emoji, wide));
        QVERIFY(codePointLess("ab", "abc"));
        QVERIFY(!codePointLess("abc", "abc"));
        const QVector<Project> odd{make("1", 10, d, Status::paid, emoji),
                                   make("2", 10, d, Status::paid, wide)};
        QCOMPARE(names(totals(paid(odd, true, 0), &Project::client)), (QStringList{wide, emoji}));

        QVERIFY(!topClient({}));
    }

    void topProjectIsTheFirstOfTheLargestFees()
    {
        const QDateTime d = localAt(2025, 7, 5);
        const QVector<Project> projects{make("small", 100, d), make("first", 900, d), make("second", 900, d),
                                        make("hidden", 5000, d, Status::pending)};
        const QVector<PaidEntry> list = paid(projects, false, 2025);
        QCOMPARE(topProject(list)->name, QStringLiteral("first"));
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).topProject->name, QStringLiteral("first"));
        QCOMPARE(topProject({}), nullptr);

        const QVector<Project> one{make("only", 250, localAt(2025, 8, 9), Status::paid, "Solo")};
        const Figures f = compute(one, false, 2025, AppLanguage::en);
        QCOMPARE(f.topProject->name, QStringLiteral("only"));
        QCOMPARE(f.clients.first().name, QStringLiteral("Solo"));
        QCOMPARE(f.peakBar, std::optional<int>(7));
        QCOMPARE(f.peakMonth->month, 8);
    }

    void textsAndShares()
    {
        QCOMPARE(yearLabel(AppLanguage::en, false, 2025), QStringLiteral("2025"));
        QCOMPARE(yearLabel(AppLanguage::en, false, 12025), QStringLiteral("12025"));
        QCOMPARE(yearLabel(AppLanguage::en, true, 2025), QStringLiteral("All-Time"));
        QCOMPARE(yearLabel(AppLanguage::tr, true, 2025), QStringLiteral("Tüm Zamanlar"));
        QCOMPARE(fullMonthName(AppLanguage::tr, 12), QStringLiteral("Aralık"));
        QCOMPARE(shortMonthName(AppLanguage::tr, 2), QStringLiteral("Şub"));
        QCOMPARE(fullMonthName(AppLanguage::en, 3), TestEnv::pick("March", "März", "Mart"));
        QCOMPARE(shortMonthName(AppLanguage::en, 0), QString());
        // English labels follow the user's locale, Turkish ones are fixed.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(fullMonthName(AppLanguage::en, 3), QStringLiteral("März"));
        QCOMPARE(shortMonthName(AppLanguage::tr, 3), QStringLiteral("Mar"));
        TestEnv::restoreLocale();

        QCOMPARE(share(50, 200), 0.25);
        QCOMPARE(share(50, 0), 0.0);
        QCOMPARE(share(0, -5), 0.0);
    }

    void unreadableDateCountsInSumsButNoMonth()
    {
        const QVector<Project> projects{make("broken", 40, QDateTime()), make("ok", 60, localAt(2025, 1, 1))};
        const Figures f = compute(projects, true, 2025, AppLanguage::en);
        QCOMPARE(f.sums.gross, 100.0);
        QCOMPARE(f.months[0].value, 60.0);
        QCOMPARE(f.peakMonth->amount, 60.0);
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).paidCount, 1);
    }

    void loadedProjectsShareEqualTexts()
    {
        // Grouping by buffer is what keeps large documents fast; loading provides the sharing.
        AppData data;
        data.clients << "Aura";
        data.projects << make("1", 10, localAt(2025, 1, 5), Status::paid, "Aura", "Print")
                      << make("2", 20, localAt(2025, 2, 5), Status::paid, "Aura", "Print")
                      << make("3", 30, localAt(2025, 3, 5), Status::paid, "Mira", "Print");
        QTemporaryDir dir;
        const QString path = dir.filePath("tallybrook.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(*DataFile::encode(data));
        file.close();
        const Load load = Store::load(path, dir.path());
        const QVector<Project>& projects = load.data.projects;
        QCOMPARE(projects.size(), 3);
        QCOMPARE(projects[0].client.constData(), projects[1].client.constData());
        QCOMPARE(projects[0].client.constData(), load.data.clients.first().constData());
        QCOMPARE(projects[0].category.constData(), projects[2].category.constData());
        QCOMPARE(compute(projects, true, 2025, AppLanguage::en).clients,
                 (QVector<NamedTotal>{{"Aura", 30}, {"Mira", 30}}));
    }

    void onePassAgreesWithTheSeparateFunctions()
    {
        // Shared and unshared texts, far-apart years, dates in several time specs.
        QRandomGenerator random(11);
        const QStringList clients{"Aura", "aura", "Ünal", "", "Zeta"};
        QVector<Project> projects;
        for (int i = 0; i < 2000; ++i) {
            const QString& shared = clients[i % 5];
            // Every third one an equal text in a buffer of its own.
            const QString client = i % 3 ? shared : QString(shared.constData(), shared.size());
            QDateTime date = localAt(1990 + random.bounded(40), 1 + random.bounded(12),
                                     1 + random.bounded(28), random.bounded(24));
            if (i % 4 == 0)
                date = date.toLocalTime();
            if (i == 7)
                date = QDateTime(QDate(3, 2, 1), QTime(5, 0), Qt::UTC);
            const Status status = StatusInfo::all[size_t(random.bounded(3))];
            projects << make(QString::number(i), random.bounded(50) * 100.0, date, status,
                             i % 7 ? client : QString::number(i % 40), i % 2 ? "Print" : "Web",
                             random.bounded(3) * 50.0);
        }
        for (bool allTime : {false, true}) {
            const Figures f = compute(projects, allTime, 2010, AppLanguage::tr);
            const QVector<PaidEntry> list = paid(projects, allTime, 2010);
            QCOMPARE(f.paidCount, list.size());
            QCOMPARE(f.sums.gross, sums(list).gross);
            QCOMPARE(f.sums.net, sums(list).net);
            const QVector<MonthTotal> months = monthTotals(list, AppLanguage::tr);
            for (int i = 0; i < 12; ++i) {
                QCOMPARE(f.months[i].value, months[i].value);
                QCOMPARE(f.months[i].label, months[i].label);
            }
            QCOMPARE(f.peakBar, peakBar(months));
            QCOMPARE(f.peakMonth->label, peakCalendarMonth(list, AppLanguage::tr, allTime)->label);
            QCOMPARE(f.clients, totals(list, &Project::client));
            QCOMPARE(f.categories, totals(list, &Project::category));
            QCOMPARE(f.topProject->id, topProject(list)->id);
            // Each paid project of the range, by the project's own year.
            int count = 0;
            for (const Project& p : projects)
                count += p.status == Status::paid && (allTime || p.year() == 2010);
            QCOMPARE(f.paidCount, count);
        }
    }
};

TB_TEST_MAIN(TestStatsFigures)
#include "tst_stats_figures.moc"
