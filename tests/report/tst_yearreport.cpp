#include "BoardData.h"
#include "TestMain.h"

#include "board/AmountLabel.h"
#include "board/SummaryPanel.h"
#include "i18n/CurrencyRate.h"
#include "i18n/L10n.h"
#include "report/YearReport.h"
#include "ui/Animations.h"

#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using BoardFixture::project;

namespace {

// The text of each page as pdftotext reads it.
QStringList pdfPages(const QByteArray& pdf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file.fileName(), QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString pdfInfo(const QByteArray& pdf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return {};
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file.fileName()});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int occurrences(const QString& text, const QString& word)
{
    return int(text.count(QRegularExpression(QStringLiteral("\\b") + QRegularExpression::escape(word) +
                                             QStringLiteral("\\b"))));
}

} // namespace

class TestYearReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    int m_year = Store::currentYear();

    // Paid 1000 and 500 (250 outsourced), pending 2000; last year's paid project stays out.
    void standardStore()
    {
        m_store =
            BoardFixture::store(m_dir, {project(QStringLiteral("Harbor Rebrand"), Status::paid, 1000, 0,
                                                QStringLiteral("Acme"), QStringLiteral("Branding")),
                                        project(QStringLiteral("Kiln Catalogue"), Status::paid, 500, 250,
                                                QStringLiteral("Kiln Works"), QStringLiteral("Print")),
                                        project(QStringLiteral("Pending Poster"), Status::pending, 2000),
                                        project(QStringLiteral("Old Paid Job"), Status::paid, 9000, 0,
                                                QStringLiteral("Acme"), QStringLiteral("Branding"), -1)});
        m_store->update([](AppData& d) {
            d.taxRate = 20;
            d.targetGoal = 50000;
        });
        m_store->setToday([] { return QDate(Store::currentYear(), 12, 8); });
    }

    QString render(int* pages = nullptr, const QPageSize& size = QPageSize(QPageSize::A4))
    {
        const YearReport::Pdf pdf = YearReport::render(*m_store, size);
        if (pages)
            *pages = pdf.pages;
        const QStringList text = pdfPages(pdf.bytes);
        if (text.size() != pdf.pages)
            return {};
        return text.join(QLatin1Char('\f'));
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is missing (poppler-utils; tools/deps.sh test installs it)");
        Animations::setEnabled(false);
        CurrencyRate::setUsdToTry(32.5);
    }
    void init() { standardStore(); }
    void cleanup() { m_store.reset(); }

    // The summary reads as the board's panel does, in both languages; only this year's paid
    // projects are listed; the breakdown, the month and the header and page number are there.
    void figuresAndNamesAsTheBoardShowsThem()
    {
        SummaryPanel panel(*m_store);
        const QString year = QString::number(m_year);
        int pages = 0;
        QString text = render(&pages);
        QCOMPARE(pages, 1);
        for (const QString& expected : {QStringLiteral("Year Report ") + year,
                                        QStringLiteral("Prepared on 8 Dec ") + year,
                                        QStringLiteral("Page 1 of 1"),
                                        QStringLiteral("EARNED"),
                                        TestEnv::localized(QStringLiteral("$1,500")),
                                        QStringLiteral("ESTIMATED TAX"),
                                        QStringLiteral("$250"),
                                        QStringLiteral("Rate: 20%"),
                                        QStringLiteral("NET AFTER TAX"),
                                        TestEnv::localized(QStringLiteral("$1,000")),
                                        QStringLiteral("Contractor: $250"),
                                        TestEnv::localized(QStringLiteral("$50,000")),
                                        TestEnv::localized(QStringLiteral("3% · Remaining: $48,500")),
                                        TestEnv::localized(QStringLiteral("$3,500")),
                                        QStringLiteral("3 projects"),
                                        TestEnv::localized(QStringLiteral("42.9%")),
                                        QStringLiteral("2 paid projects"),
                                        QStringLiteral("Harbor Rebrand"),
                                        QStringLiteral("Kiln Works"),
                                        QStringLiteral("Print"),
                                        QStringLiteral("14 Mar ") + year,
                                        TestEnv::localized(QStringLiteral("67% ($1,000)")),
                                        QStringLiteral("33% ($500)"),
                                        QStringLiteral("Total"),
                                        QStringLiteral("Mar")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in:\n") + text));
        // The very texts of the board's panel.
        for (const QString& shown :
             {panel.earnedAmount()->text(), panel.pipelineAmount()->text(), panel.contractorText()->text(),
              panel.remainingText()->text(), panel.collectionText()->text().section(QLatin1Char(' '), 0, 0)})
            QVERIFY2(text.contains(shown), qPrintable(shown));
        QVERIFY(!text.contains(QStringLiteral("Pending Poster")));
        QVERIFY(!text.contains(QStringLiteral("Old Paid Job")));

        m_store->setLanguage(AppLanguage::tr);
        QCoreApplication::processEvents();
        text = render(&pages);
        QCOMPARE(pages, 1);
        for (const QString& expected : {year + QStringLiteral(" Yıl Raporu"),
                                        QStringLiteral("Hazırlanma tarihi: 8 Ara ") + year,
                                        QStringLiteral("Sayfa 1 / 1"),
                                        QStringLiteral("KAZANILAN"),
                                        QStringLiteral("48.750 ₺"),
                                        QStringLiteral("TAHMİNİ VERGİ"),
                                        QStringLiteral("8.125 ₺"),
                                        QStringLiteral("Oran: %20"),
                                        QStringLiteral("VERGİ SONRASI NET"),
                                        QStringLiteral("32.500 ₺"),
                                        QStringLiteral("Dış Kaynak: 8.125 ₺"),
                                        QStringLiteral("YILLIK HEDEF"),
                                        QStringLiteral("1.625.000 ₺"),
                                        QStringLiteral("Kalan: 1.576.250 ₺"),
                                        QStringLiteral("TOPLAM HACİM"),
                                        QStringLiteral("113.750 ₺"),
                                        QStringLiteral("3 proje"),
                                        QStringLiteral("TAHSİLAT ORANI"),
                                        QStringLiteral("%43"),
                                        QStringLiteral("Ödenen Projeler"),
                                        QStringLiteral("2 ödenen proje"),
                                        QStringLiteral("Kategori Dağılımı"),
                                        QStringLiteral("%67 (32.500 ₺)"),
                                        QStringLiteral("Aylara Göre Gelir Dağılımı"),
                                        QStringLiteral("Oca"),
                                        QStringLiteral("14 Mar ") + year,
                                        QStringLiteral("MÜŞTERİ"),
                                        QStringLiteral("Toplam"),
                                        QStringLiteral("Tutarlar Türk lirasıdır (1 USD = 32,50 ₺).")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in:\n") + text));
        QVERIFY2(!text.contains(QLatin1Char('$')), qPrintable(text));
        QVERIFY(text.contains(panel.earnedAmount()->text()));
        QVERIFY(text.contains(panel.pipelineAmount()->text()));

        // Another year is another report.
        m_store->setLanguage(AppLanguage::en);
        m_store->setActiveYear(m_year - 1);
        text = render();
        QVERIFY(text.contains(QStringLiteral("Old Paid Job")));
        QVERIFY(!text.contains(QStringLiteral("Harbor Rebrand")));
        QVERIFY(text.contains(TestEnv::localized(QStringLiteral("$9,000"))));
    }

    // Many paid projects run onto several pages: each with the header, its number of the whole,
    // and the table's column titles again; every project once, in date order; the total last.
    void manyProjectsPageWithHeaders()
    {
        QVector<Project> projects;
        for (int i = 1; i <= 150; ++i) {
            Project p =
                project(QStringLiteral("Item%1").arg(i, 3, 10, QLatin1Char('0')), Status::paid, 100, 10,
                        QStringLiteral("Client %1").arg(i % 7), QStringLiteral("Cat %1").arg(i % 4));
            p.date = TestProjects::noon(QDate(m_year, 1, 1).addDays((i - 1) * 2));
            projects.append(p);
        }
        std::reverse(projects.begin(), projects.end()); // the report orders by date itself
        m_store->update([&](AppData& d) { d.projects = projects; });

        for (AppLanguage language : AppLanguageInfo::allCases) {
            m_store->setLanguage(language);
            const bool tr = language == AppLanguage::tr;
            int count = 0;
            const QString text = render(&count);
            const QStringList pages = text.split(QLatin1Char('\f'));
            QVERIFY2(count >= 4, qPrintable(QString::number(count)));
            QCOMPARE(pages.size(), count);
            for (int i = 0; i < count; ++i) {
                const QString& page = pages[i];
                const QString number = tr ? QStringLiteral("Sayfa %1 / %2").arg(i + 1).arg(count)
                                          : QStringLiteral("Page %1 of %2").arg(i + 1).arg(count);
                QVERIFY2(page.contains(number), qPrintable(number + QStringLiteral(":\n") + page));
                QVERIFY(page.contains(tr ? QStringLiteral("Tallybrook %1 Yıl Raporu").arg(m_year)
                                         : QStringLiteral("Tallybrook Year Report %1").arg(m_year)));
                if (i > 0) {
                    QVERIFY2(page.contains(tr ? QStringLiteral("Ödenen Projeler (devam)")
                                              : QStringLiteral("Paid Projects (continued)")),
                             qPrintable(page));
                    QVERIFY(page.contains(tr ? QStringLiteral("PROJE") : QStringLiteral("PROJECT")));
                    QVERIFY(page.contains(tr ? QStringLiteral("DIŞ KAYNAK") : QStringLiteral("OUTSOURCE")));
                }
                QCOMPARE(page.contains(tr ? QStringLiteral("Toplam") : QStringLiteral("Total")),
                         i == count - 1);
            }
            int at = -1;
            for (int i = 1; i <= 150; ++i) {
                const QString name = QStringLiteral("Item%1").arg(i, 3, 10, QLatin1Char('0'));
                QCOMPARE(occurrences(text, name), 1);
                const int next = int(text.indexOf(name));
                QVERIFY2(next > at, qPrintable(name));
                at = next;
            }
            QVERIFY(text.contains(tr ? QStringLiteral("487.500 ₺")
                                     : TestEnv::localized(QStringLiteral("$15,000"))));
        }
    }

    // A year without paid projects says so instead of an empty chart and table.
    void emptyYearSaysSo()
    {
        m_store->setActiveYear(m_year + 3);
        int pages = 0;
        const QString text = render(&pages);
        QCOMPARE(pages, 1);
        QCOMPARE(occurrences(text, QStringLiteral("No paid projects in %1").arg(m_year + 3)), 3);
        QVERIFY(text.contains(QStringLiteral("0 paid projects")));
        QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
    }

    // Letter in the United States, Canada, Mexico and their neighbours that print on it; A4
    // elsewhere. The paper category of the environment wins over the language's country.
    void paperFollowsTheLocale()
    {
        for (const char* name : {"en_US", "en_CA", "fr_CA", "es_MX", "en_PH", "es_CL"})
            QVERIFY2(YearReport::pageSizeFor(QLocale(QString::fromLatin1(name))).id() == QPageSize::Letter,
                     name);
        for (const char* name : {"en_GB", "tr_TR", "de_DE", "fr_FR", "en_AU", "en_IN", "C"})
            QVERIFY2(YearReport::pageSizeFor(QLocale(QString::fromLatin1(name))).id() == QPageSize::A4, name);

        const QByteArray all = qgetenv("LC_ALL");
        const QByteArray paper = qgetenv("LC_PAPER");
        qunsetenv("LC_ALL");
        qputenv("LC_PAPER", "en_US.UTF-8");
        const QPageSize us = YearReport::systemPageSize();
        qputenv("LC_ALL", "de_DE.UTF-8");
        const QPageSize german = YearReport::systemPageSize();
        qputenv("LC_ALL", all);
        paper.isNull() ? qunsetenv("LC_PAPER") : qputenv("LC_PAPER", paper);
        QCOMPARE(us.id(), QPageSize::Letter);
        QCOMPARE(german.id(), QPageSize::A4);

        const QString letter = pdfInfo(YearReport::render(*m_store, QPageSize(QPageSize::Letter)).bytes);
        QVERIFY2(letter.contains(QStringLiteral("612 x 792 pts (letter)")), qPrintable(letter));
        const QString a4 = pdfInfo(YearReport::render(*m_store, QPageSize(QPageSize::A4)).bytes);
        QVERIFY2(a4.contains(QStringLiteral("595 x 842 pts (A4)")), qPrintable(a4));
    }

    // The report replaces a file whole; it is never written over the data file or into a
    // folder's place, and a place that cannot take it is reported.
    void writeReplacesOrRefuses()
    {
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("report.pdf"));
        QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an empty file to replace
        QString error;
        int pages = 0;
        QVERIFY2(YearReport::write(*m_store, path, m_store->fileURL(), &error, &pages), qPrintable(error));
        QVERIFY(readFile(path).startsWith("%PDF-"));
        QCOMPARE(pages, 1);
        QVERIFY(pdfPages(readFile(path)).join(QString()).contains(QStringLiteral("Harbor Rebrand")));

        const QString data = out.filePath(QStringLiteral("tallybrook.json"));
        {
            QFile f(data);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("{\"keep\": true}");
        }
        QVERIFY(!YearReport::write(*m_store, data, data, &error));
        QVERIFY2(error.contains(QStringLiteral("data file")), qPrintable(error));
        // The same file by another spelling of its path.
        QVERIFY(
            !YearReport::write(*m_store, out.path() + QStringLiteral("/./tallybrook.json"), data, &error));
        QCOMPARE(readFile(data), QByteArray("{\"keep\": true}"));

        error.clear();
        QVERIFY(!YearReport::write(*m_store, out.path(), data, &error));
        QVERIFY2(error.contains(QStringLiteral("folder")), qPrintable(error));

        error.clear();
        const QString underAFile = data + QStringLiteral("/report.pdf");
        QVERIFY(!YearReport::write(*m_store, underAFile, data, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(data), QByteArray("{\"keep\": true}"));
        QCOMPARE(YearReport::fileName(*m_store), QStringLiteral("Tallybrook %1 Report.pdf").arg(m_year));
        m_store->setLanguage(AppLanguage::tr);
        QCOMPARE(YearReport::fileName(*m_store), QStringLiteral("Tallybrook %1 Raporu.pdf").arg(m_year));
    }
};

TB_WIDGET_TEST_MAIN(TestYearReport)
#include "tst_yearreport.moc"
