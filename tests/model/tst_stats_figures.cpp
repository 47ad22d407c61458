// The statistics page's figures: fixed cases, and every figure against a plain recomputation
// from the projects that shares nothing with the page's one-pass code.
#include "TestMain.h"
#include "TestProjects.h"

#include "model/DataFile.h"
#include "model/StatsFigures.h"
#include "model/Store.h"

#include <QMap>
#include <QRandomGenerator>
#include <algorithm>

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

// The figures recomputed the plain way: every date converted to local time on its own, groups
// kept in maps and sorted at the end, month names from Qt's locale data rather than the page's
// own tables.
struct Expected
{
    int paidCount = 0;
    Sums sums;
    double months[12] = {};
    QMap<QPair<int, int>, double> calendarMonths;
    QHash<QString, double> clients;
    QHash<QString, double> categories;
    const Project* top = nullptr;
};

Expected recompute(const QVector<Project>& projects, bool allTime, int activeYear)
{
    Expected e;
    for (const Project& p : projects) {
        if (p.status != Status::paid)
            continue;
        const QDate day = p.date.toLocalTime().date();
        if (!allTime && (!day.isValid() || day.year() != activeYear))
            continue;
        ++e.paidCount;
        e.sums.gross += p.fee;
        e.sums.outsource += p.outsource;
        if (day.isValid()) {
            e.months[day.month() - 1] += p.fee;
            e.calendarMonths[qMakePair(day.year(), day.month())] += p.fee;
        }
        e.clients[p.client] += p.fee;
        e.categories[p.category] += p.fee;
        if (!e.top || p.fee > e.top->fee)
            e.top = &p;
    }
    e.sums.net = e.sums.gross - e.sums.outsource;
    return e;
}

QVector<NamedTotal> sortedGroups(const QHash<QString, double>& groups)
{
    QVector<NamedTotal> out;
    for (auto it = groups.begin(); it != groups.end(); ++it)
        out.append(NamedTotal{it.key(), it.value()});
    std::sort(out.begin(), out.end(), [](const NamedTotal& a, const NamedTotal& b) {
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return a.name.toUcs4() < b.name.toUcs4();
    });
    return out;
}

QLocale namesLocale(AppLanguage language)
{
    return language == AppLanguage::tr ? QLocale(QLocale::Turkish, QLocale::Turkey) : QLocale();
}

// The first figure of `f` that differs from the recomputation, or an empty text.
QString mismatch(const Figures& f, const QVector<Project>& projects, bool allTime, int activeYear,
                 AppLanguage language)
{
    const Expected e = recompute(projects, allTime, activeYear);
    if (f.paidCount != e.paidCount)
        return QStringLiteral("paidCount %1, expected %2").arg(f.paidCount).arg(e.paidCount);
    if (f.sums.gross != e.sums.gross || f.sums.outsource != e.sums.outsource || f.sums.net != e.sums.net)
        return QStringLiteral("sums");
    if (f.months.size() != 12)
        return QStringLiteral("twelve months");
    std::optional<int> bar;
    for (int i = 0; i < 12; ++i) {
        if (f.months[i].index != i || f.months[i].value != e.months[i])
            return QStringLiteral("month %1").arg(i + 1);
        if (f.months[i].label != namesLocale(language).monthName(i + 1, QLocale::ShortFormat))
            return QStringLiteral("label of month %1: %2").arg(i + 1).arg(f.months[i].label);
        if (e.months[i] > (bar ? e.months[*bar] : 0.0))
            bar = i;
    }
    if (f.peakBar != bar)
        return QStringLiteral("peakBar");
    std::optional<QPair<int, int>> peak;
    double peakAmount = 0;
    for (auto it = e.calendarMonths.begin(); it != e.calendarMonths.end(); ++it) {
        if (it.value() > peakAmount) {
            peak = it.key();
            peakAmount = it.value();
        }
    }
    if (bool(f.peakMonth) != bool(peak))
        return QStringLiteral("peakMonth present");
    if (peak) {
        QString label = namesLocale(language).standaloneMonthName(peak->second, QLocale::LongFormat);
        if (allTime)
            label += QStringLiteral(" %1").arg(peak->first);
        if (f.peakMonth->year != peak->first || f.peakMonth->month != peak->second ||
            f.peakMonth->amount != peakAmount)
            return QStringLiteral("peakMonth %1-%2").arg(f.peakMonth->year).arg(f.peakMonth->month);
        if (f.peakMonth->label != label)
            return QStringLiteral("peakMonth label %1, expected %2").arg(f.peakMonth->label, label);
    }
    if (f.clients != sortedGroups(e.clients))
        return QStringLiteral("clients");
    if (f.categories != sortedGroups(e.categories))
        return QStringLiteral("categories");
    if (bool(f.topProject) != bool(e.top) || (e.top && f.topProject->id != e.top->id))
        return QStringLiteral("topProject");
    return {};
}

QString mismatch(const QVector<Project>& projects, bool allTime, int activeYear, AppLanguage language)
{
    return mismatch(compute(projects, allTime, activeYear, language), projects, allTime, activeYear,
                    language);
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
        const Figures year = compute(projects, false, 2025, AppLanguage::en);
        QCOMPARE(year.paidCount, 2);
        QCOMPARE(year.topProject->name, QStringLiteral("a"));
        const Sums s = year.sums;
        QCOMPARE(s.gross, 1500.0);
        QCOMPARE(s.outsource, 200.0);
        QCOMPARE(s.net, 1300.0);
        // Bars and client totals use fees, not fees less outsourcing.
        QCOMPARE(year.months[1].value, 1000.0);
        QCOMPARE(year.months[5].value, 500.0);
        QCOMPARE(year.clients.first().amount, 1500.0);
        QCOMPARE(mismatch(year, projects, false, 2025, AppLanguage::en), QString());

        const Figures all = compute(projects, true, 2025, AppLanguage::en);
        QCOMPARE(all.paidCount, 3);
        QCOMPARE(all.months[5].value, 800.0);
        QCOMPARE(all.sums.gross, 1800.0);
        QCOMPARE(mismatch(all, projects, true, 2025, AppLanguage::en), QString());

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
        QCOMPARE(mismatch(none, projects, false, 2019, AppLanguage::en), QString());
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

        for (bool allTime : {false, true}) {
            for (AppLanguage language : {AppLanguage::en, AppLanguage::tr}) {
                QCOMPARE(mismatch(projects, allTime, 2025, language), QString());
                QCOMPARE(mismatch(tie, allTime, 2025, language), QString());
                QCOMPARE(mismatch(yearsTie, allTime, 2025, language), QString());
            }
        }

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
        const Figures f = compute(projects, false, 2025, AppLanguage::en);
        const QVector<NamedTotal>& clients = f.clients;
        QCOMPARE(names(clients), (QStringList{"Zeta", "alpha", "", "Alpha "}));
        QCOMPARE(clients[2].amount, 50.0);
        QCOMPARE(clients.first().name, QStringLiteral("Zeta"));
        QCOMPARE(clients.first().amount, 100.0);
        QCOMPARE(f.categories, (QVector<NamedTotal>{{"Print", 150}, {"", 130}, {"Web", 20}}));
        QCOMPARE(mismatch(f, projects, false, 2025, AppLanguage::en), QString());

        // U+FF5E sorts before U+1F600 by code point, though its UTF-16 unit is larger.
        const QString wide = QString(QChar(0xFF5E));
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QVERIFY(codePointLess(wide, emoji));
        QVERIFY(!codePointLess(emoji, wide));
        QVERIFY(codePointLess("ab", "abc"));
        QVERIFY(!codePointLess("abc", "abc"));
        const QVector<Project> odd{make("1", 10, d, Status::paid, emoji),
                                   make("2", 10, d, Status::paid, wide)};
        QCOMPARE(names(compute(odd, true, 0, AppLanguage::en).clients), (QStringList{wide, emoji}));
        QCOMPARE(mismatch(odd, true, 0, AppLanguage::en), QString());

        QVERIFY(compute({}, true, 2025, AppLanguage::en).clients.isEmpty());
    }

    void topProjectIsTheFirstOfTheLargestFees()
    {
        const QDateTime d = localAt(2025, 7, 5);
        const QVector<Project> projects{make("small", 100, d), make("first", 900, d), make("second", 900, d),
                                        make("hidden", 5000, d, Status::pending)};
        QCOMPARE(compute(projects, false, 2025, AppLanguage::en).topProject->name, QStringLiteral("first"));
        QCOMPARE(compute(projects, true, 2025, AppLanguage::en).topProject->name, QStringLiteral("first"));
        QCOMPARE(mismatch(projects, false, 2025, AppLanguage::en), QString());
        QVERIFY(!compute({}, true, 2025, AppLanguage::en).topProject);

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
        QCOMPARE(mismatch(projects, true, 2025, AppLanguage::en), QString());
        QCOMPARE(mismatch(projects, false, 2025, AppLanguage::en), QString());
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

    void everyFigureAgreesWithAPlainRecomputation()
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
            for (AppLanguage language : {AppLanguage::en, AppLanguage::tr}) {
                for (int year : {2010, 1990, 2029, 3, 2040}) {
                    const QString wrong = mismatch(projects, allTime, year, language);
                    if (!wrong.isEmpty())
                        QFAIL(qPrintable(
                            QStringLiteral("allTime %1, year %2: %3").arg(allTime).arg(year).arg(wrong)));
                }
            }
            const Figures f = compute(projects, allTime, 2010, AppLanguage::tr);
            QVERIFY(f.peakMonth);
            QVERIFY(f.topProject);
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
