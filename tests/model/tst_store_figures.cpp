#include "TestMain.h"

#include "StoreTestUtil.h"
#include "i18n/CurrencyRate.h"

using namespace StoreTestUtil;

class TestStoreFigures final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_year = QDate::currentDate().year();

    static QStringList namesOf(const QVector<Project>& list)
    {
        QStringList out;
        for (const Project& p : list)
            out.append(p.name);
        return out;
    }

private slots:
    void cleanup() { CurrencyRate::setUsdToTry(CurrencyRate::kInitialUsdToTry); }

    void sampleFigures()
    {
        Store store(m_dir.path(), true);
        QCOMPARE(store.total(Status::paid), 60400.0);
        QCOMPARE(store.total(Status::pending), 19300.0);
        QCOMPARE(store.total(Status::ongoing), 31100.0);
        QCOMPARE(store.paidThisYear().size(), 10);
        QCOMPARE(store.netAfterTax(), 47840.0);
        QCOMPARE(store.targetProgress(), 60400.0 / 120000.0);
        QCOMPARE(store.percent(store.targetProgress()), QStringLiteral("50%"));
        QCOMPARE(store.collectionRate(), 60400.0 / 110800.0);
        QCOMPARE(store.years(), (QVector<int>{m_year, m_year - 1, m_year - 2}));
        QCOMPARE(store.yearProjects().size(), 18);
        store.setActiveYear(m_year - 1);
        QCOMPARE(store.total(Status::paid), 65500.0);
        QCOMPARE(store.collectionRate(), 1.0);
        QCOMPARE(store.netAfterTax(), (65500.0 - 1200.0) * 0.8);
    }

    void emptyDocumentFigures()
    {
        Store store(m_dir.path(), true);
        store.eraseAll();
        QCOMPARE(store.years(), QVector<int>{m_year});
        QCOMPARE(store.targetProgress(), 0.0);
        QCOMPARE(store.collectionRate(), 0.0);
        QCOMPARE(store.netAfterTax(), 0.0);
        for (Status s : StatusInfo::all)
            QCOMPARE(store.total(s), 0.0);
        store.setActiveYear(m_year + 3);
        QCOMPARE(store.years(), (QVector<int>{m_year + 3, m_year}));
        store.update([](AppData& d) { d.targetGoal = 0; });
        QCOMPARE(store.targetProgress(), 0.0);
    }

    void netCanGoNegativeAndProgressCaps()
    {
        Store store(m_dir.path(), true);
        store.update([&](AppData& d) {
            d = AppData::empty();
            Project p = makeProject("Big", Status::paid, 150000, QDate(m_year, 3, 15));
            d.projects = {p};
            Project q = makeProject("Loss", Status::paid, 100, QDate(m_year, 3, 15));
            q.outsource = 1000;
            d.projects.append(q);
        });
        QCOMPARE(store.targetProgress(), 1.0);
        QCOMPARE(store.percent(1), QStringLiteral("100%"));
        store.update([](AppData& d) { d.projects.removeFirst(); });
        QCOMPARE(store.netAfterTax(), -900.0 * 0.8);
        store.setLanguage(AppLanguage::tr);
        QCOMPARE(store.percent(1), QStringLiteral("%100"));
        QCOMPARE(store.percent(0.456), QStringLiteral("%46"));
        store.setLanguage(AppLanguage::en);
        QCOMPARE(store.percent(0.456), QStringLiteral("46%"));
        QCOMPARE(store.percent(0.005), QStringLiteral("1%")); // halves away from zero
        QCOMPARE(store.percent(-0.001), QStringLiteral("0%"));
    }

    void searchFilters()
    {
        Store store(m_dir.path(), true);
        store.update([&](AppData& d) {
            d = AppData::empty();
            d.projects = {
                makeProject("Logo refresh", Status::paid, 10, QDate(m_year, 1, 15), "Acme", "Branding"),
                makeProject("Café menu", Status::pending, 20, QDate(m_year, 1, 15), "Bistro", "Print"),
                makeProject("Old logo", Status::paid, 30, QDate(m_year - 1, 1, 15), "Acme", "Branding")};
        });
        store.ui().setSearchQuery(QStringLiteral(" \t "));
        QCOMPARE(store.visibleProjects().size(), 2);
        store.ui().setSearchQuery(QStringLiteral("  LOGO "));
        QCOMPARE(namesOf(store.visibleProjects()), QStringList{"Logo refresh"});
        store.ui().setSearchQuery(QStringLiteral("bist"));
        QCOMPARE(namesOf(store.visibleProjects()), QStringList{"Café menu"});
        store.ui().setSearchQuery(QStringLiteral("PRINT"));
        QCOMPARE(namesOf(store.visibleProjects()), QStringList{"Café menu"});
        store.ui().setSearchQuery(QStringLiteral("cafe"));
        QVERIFY(store.visibleProjects().isEmpty());
        QCOMPARE(store.total(Status::paid), 10.0); // totals ignore the search
        QVERIFY(store.projects(Status::paid).isEmpty());
        store.ui().setSearchQuery(QString());
        QCOMPARE(namesOf(store.projects(Status::paid)), QStringList{"Logo refresh"});
    }

    void tableOrder()
    {
        Store store(m_dir.path(), true);
        const QDate d(m_year, 6, 15);
        store.update([&](AppData& data) {
            data = AppData::empty();
            data.columnOrder = {Status::pending, Status::paid, Status::ongoing};
            Project older = makeProject("same", Status::paid, 5, d.addDays(-10), "b");
            Project newer = makeProject("Same", Status::paid, 5, d, "B");
            data.projects = {makeProject("zeta", Status::ongoing, 300, d, "alpha"),
                             makeProject("Beta", Status::paid, 20, d, "Charlie"),
                             older,
                             makeProject("alpha", Status::pending, 1000, d, "delta"),
                             newer,
                             makeProject("Alpha2", Status::paid, 7, d, "alpha")};
        });
        QCOMPARE(namesOf(store.sortedVisibleProjects()),
                 (QStringList{"alpha", "Alpha2", "Beta", "Same", "same", "zeta"}));
        store.ui().setSort(SortField::status); // descending now
        QCOMPARE(namesOf(store.sortedVisibleProjects()),
                 (QStringList{"zeta", "Alpha2", "Beta", "Same", "same", "alpha"}));
        store.ui().setSort(SortField::fee);
        QCOMPARE(namesOf(store.sortedVisibleProjects()),
                 (QStringList{"Same", "same", "Alpha2", "Beta", "zeta", "alpha"}));
        store.ui().setSort(SortField::fee);
        QCOMPARE(namesOf(store.sortedVisibleProjects()),
                 (QStringList{"alpha", "zeta", "Beta", "Alpha2", "Same", "same"}));
        store.ui().setSort(SortField::client); // case-insensitive, ties by name then newest
        QCOMPARE(namesOf(store.sortedVisibleProjects()),
                 (QStringList{"Alpha2", "zeta", "Same", "same", "Beta", "alpha"}));
    }

    void moneyTexts()
    {
        Store store(m_dir.path(), true);
        QCOMPARE(store.money(1234.5), TestEnv::localized(QStringLiteral("$1,234.5")));
        QCOMPARE(store.money(1234), TestEnv::localized(QStringLiteral("$1,234")));
        QCOMPARE(store.money(1234.567), TestEnv::localized(QStringLiteral("$1,234.57")));
        QCOMPARE(store.money(-0.001), QStringLiteral("$0"));
        QCOMPARE(store.money(-2500), TestEnv::localized(QStringLiteral("$-2,500")));
        QVERIFY(store.money(1e300).startsWith(TestEnv::localized(QStringLiteral("$1,000"))));
        store.update([](AppData& d) { d.currency = QStringLiteral("€"); });
        QCOMPARE(store.money(0), QStringLiteral("€0"));
        store.update([](AppData& d) { d.currency = QStringLiteral("₺"); });
        QCOMPARE(store.money(1200),
                 TestEnv::localized(QStringLiteral("₺1,200"))); // a prefix only, no conversion

        // Sums of absurd fees are no figure at all, never "inf" or "nan".
        QCOMPARE(store.money(qInf()), QStringLiteral("—"));
        QCOMPARE(store.money(qQNaN()), QStringLiteral("—"));
        QCOMPARE(store.percent(qQNaN()), QStringLiteral("—"));
        QVERIFY(!store.money(1e308).contains(QStringLiteral("inf")));

        store.setLanguage(AppLanguage::tr);
        QCOMPARE(store.money(qInf()), QStringLiteral("—"));
        QCOMPARE(store.money(1e308), QStringLiteral("—")); // lira past a double's range
        QCOMPARE(store.money(100), QStringLiteral("5.014 ₺"));
        CurrencyRate::setUsdToTry(32.5);
        QCOMPARE(store.money(1500), QStringLiteral("48.750 ₺"));
        CurrencyRate::setUsdToTry(41.2);
        QCOMPARE(store.money(100), QStringLiteral("4.120 ₺"));
        QCOMPARE(store.money(0.01), QStringLiteral("0 ₺"));
        QCOMPARE(store.money(-1), QStringLiteral("-41 ₺"));
        store.update([](AppData& d) { d.currency = QStringLiteral("$"); });
        QCOMPARE(store.money(100), QStringLiteral("4.120 ₺")); // the code plays no part in Turkish
    }

    void titlesAndColours()
    {
        Store store(m_dir.path(), true);
        QCOMPARE(store.tabTitle(MainTab::stats), QStringLiteral("Statistics"));
        store.setLanguage(AppLanguage::tr);
        QCOMPARE(store.tabTitle(MainTab::board), QStringLiteral("Pano"));
        QCOMPARE(store.tabTitle(MainTab::stats), QStringLiteral("İstatistikler"));
        QCOMPARE(store.tabTitle(MainTab::settings), QStringLiteral("Ayarlar"));
        QCOMPARE(HexColor::toHex(store.columnColor(Status::paid)), QStringLiteral("#E7F7ED"));
        QCOMPARE(HexColor::toHex(store.columnColor(Status::pending)), QStringLiteral("#E4EFFC"));
        QCOMPARE(HexColor::toHex(store.columnColor(Status::ongoing)), QStringLiteral("#FCEFE2"));
        store.update([](AppData& d) {
            d.columnColors.insert(QStringLiteral("paid"), QStringLiteral(" #123abc "));
            d.columnColors.insert(QStringLiteral("pending"), QStringLiteral("nonsense"));
        });
        QCOMPARE(HexColor::toHex(store.columnColor(Status::paid)), QStringLiteral("#123ABC"));
        QCOMPARE(HexColor::toHex(store.columnColor(Status::pending)), QStringLiteral("#000000"));
    }
};

TB_TEST_MAIN(TestStoreFigures)
#include "tst_store_figures.moc"
