#include "TestMain.h"

#include "StoreTestUtil.h"
#include "model/Amount.h"
#include "model/CsvExport.h"
#include "model/CsvImport.h"

#include <QTemporaryDir>

using namespace CsvImport;
using StoreTestUtil::makeProject;

namespace {

QByteArray sample(const char* name)
{
    return StoreTestUtil::readFile(QStringLiteral(TB_MODEL_DATA "/") + QLatin1String(name));
}

QStringList names(const QVector<Row>& rows)
{
    QStringList out;
    for (const Row& r : rows)
        out << r.project.name;
    return out;
}

QVector<Project> projectsOf(const Preview& p)
{
    QVector<Project> out;
    for (const Row& r : p.rows)
        out << r.project;
    return out;
}

} // namespace

class TestCsv final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;

    Store& store() { return *m_store; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path(), false);
        m_store->setLanguage(AppLanguage::en);
        m_store->update([](AppData& d) { d = AppData::empty(); });
        m_store->ui().expireToast();
    }

    // Everything an export writes comes back the same through an import into an empty document:
    // texts with quotes, delimiters, line breaks, Turkish letters and formula starts, fractions,
    // large fees and the payment days.
    void exportImportRoundTrip()
    {
        QVector<Project> projects{
            makeProject("Logo, \"final\"\nv2", Status::paid, 1234.56, QDate(2024, 3, 15), "Işık Gıda",
                        "Branding"),
            makeProject("=1+1", Status::pending, 0.125, QDate(2024, 12, 31), "-Minus Ltd", "@print"),
            makeProject("'=quoted", Status::ongoing, 999999999999.5, QDate(2023, 1, 1), "Şahin; Ortak",
                        "+Tab"),
            makeProject("Çizim", Status::paid, 0, QDate(2024, 6, 1), "", "")};
        projects[0].outsource = 250.5;
        projects[0].pendingSince = QDate(2024, 3, 20);
        projects[0].dueDate = QDate(2024, 4, 19);
        projects[0].paidOn = QDate(2024, 4, 2);
        projects[1].pendingSince = QDate(2025, 1, 2);
        store().update([&](AppData& d) { d.projects = projects; });
        store().setActiveYear(2024);

        const QString path = m_dir->filePath(QStringLiteral("all.csv"));
        QVERIFY(store().exportCsv(path, true));
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Exported 4 projects to all.csv"));
        const QByteArray bytes = StoreTestUtil::readFile(path);
        QVERIFY(bytes.startsWith(
            "\xEF\xBB\xBF"
            "name,client,category,fee,outsource,status,date,id,pendingSince,dueDate,paidOn\r\n"));
        // Numbers with a point and no grouping, whatever the locale; days as YYYY-MM-DD.
        QVERIFY(bytes.contains(",1234.56,250.5,paid,2024-03-15," + uuidText(projects[0].id).toLatin1() +
                               ",2024-03-20,2024-04-19,2024-04-02\r\n"));
        QVERIFY(bytes.contains(",999999999999.5,0,ongoing,2023-01-01,"));
        QVERIFY(bytes.contains("\"Logo, \"\"final\"\"\nv2\""));

        Store empty(m_dir->filePath(QStringLiteral("other")), false);
        empty.update([](AppData& d) { d = AppData::empty(); });
        const Preview p = preview(bytes, empty.data());
        QCOMPARE(p.encoding, Encoding::utf8Bom);
        QVERIFY2(p.ready(), p.problems.isEmpty() ? "" : qPrintable(problemText(p.problems.first(), store())));
        QCOMPARE(p.duplicates(), 0);
        QCOMPARE(empty.importProjects(projectsOf(p)), 4);
        QCOMPARE(empty.data().projects, projects);
        QCOMPARE(empty.data().clients, (QStringList{"Işık Gıda", "-Minus Ltd", "Şahin; Ortak"}));
        QCOMPARE(empty.data().categories, (QStringList{"Branding", "@print", "+Tab"}));

        // The active year alone; the same file again into the first document is all duplicates.
        const QString year = m_dir->filePath(QStringLiteral("year.csv"));
        QVERIFY(store().exportCsv(year, false));
        const Preview again = preview(StoreTestUtil::readFile(year), store().data());
        QCOMPARE(names(again.rows), (QStringList{projects[0].name, projects[1].name, projects[3].name}));
        QCOMPARE(again.duplicates(), 3);

        QVERIFY(!store().exportCsv(m_dir->filePath(QStringLiteral("all.csv/inside.csv")), false));
        QVERIFY(store().ui().toast()->message.startsWith(QStringLiteral("Could not export: ")));
        // Never over the document it was made from.
        store().flushPendingSave();
        const QByteArray document = StoreTestUtil::readFile(store().fileURL());
        QVERIFY(!store().exportCsv(store().fileURL(), true));
        QVERIFY(store().ui().toast()->message.contains(QStringLiteral("is the data file")));
        QCOMPARE(StoreTestUtil::readFile(store().fileURL()), document);
    }

    // A cell a spreadsheet would run as a formula gets an apostrophe; an import takes it off.
    void formulaGuard()
    {
        QCOMPARE(CsvExport::cell(QStringLiteral("=SUM(A1)")), QStringLiteral("'=SUM(A1)"));
        QCOMPARE(CsvExport::cell(QStringLiteral("+90 555")), QStringLiteral("'+90 555"));
        QCOMPARE(CsvExport::cell(QStringLiteral("-x")), QStringLiteral("'-x"));
        QCOMPARE(CsvExport::cell(QStringLiteral("@cmd")), QStringLiteral("'@cmd"));
        QCOMPARE(CsvExport::cell(QStringLiteral("\tx")), QStringLiteral("\"'\tx\""));
        QCOMPARE(CsvExport::cell(QStringLiteral("\rx")), QStringLiteral("\"'\rx\""));
        QCOMPARE(CsvExport::cell(QStringLiteral("=a,b")), QStringLiteral("\"'=a,b\""));
        QCOMPARE(CsvExport::cell(QStringLiteral("a=b")), QStringLiteral("a=b"));
        QCOMPARE(CsvExport::cell(QStringLiteral("'plain")), QStringLiteral("'plain"));
        QCOMPARE(CsvExport::cell(QStringLiteral("'=a")), QStringLiteral("''=a"));
        QCOMPARE(CsvExport::number(1e12), QStringLiteral("1000000000000"));
        QCOMPARE(CsvExport::number(-0.0), QStringLiteral("0"));
    }

    // A US spreadsheet: commas, quoted amounts with grouping, MM/DD/YYYY, English statuses.
    void englishSpreadsheet()
    {
        const Preview p = preview(sample("en-us-excel.csv"), store().data());
        QCOMPARE(p.refusal, Preview::Refusal::none);
        QCOMPARE(p.encoding, Encoding::utf8);
        QCOMPARE(p.delimiter, QChar(u','));
        QCOMPARE(p.roles, (QVector<Role>{Role::name, Role::client, Role::category, Role::fee, Role::outsource,
                                         Role::status, Role::date}));
        QCOMPARE(p.dateFormat, std::optional<DateFormat>(DateFormat::monthDayYearSlashes));
        QCOMPARE(p.decimalSeparator, std::optional<QChar>(u'.'));
        QVERIFY(p.ready());
        QCOMPARE(p.rows.size(), 4);
        const Project& website = p.rows.at(1).project;
        QCOMPARE(website.client, QStringLiteral("Smith, Jones & Co"));
        QCOMPARE(website.fee, 12500.0);
        QCOMPARE(website.outsource, 250.5);
        QCOMPARE(website.status, Status::pending);
        QCOMPARE(website.date, TestProjects::noon(QDate(2024, 12, 1)));
        QCOMPARE(p.rows.at(0).project.fee, 1234.56);
        QCOMPARE(p.rows.at(2).project.status, Status::ongoing);
        QCOMPARE(p.rows.at(3).line, 5);
        QCOMPARE(p.rows.at(3).project.name, QStringLiteral("=HYPERLINK(\"x\")"));
    }

    // A Turkish spreadsheet of the older kind: Windows-1254, semicolons, DD.MM.YYYY, decimal
    // commas; rows that cannot be read are listed with their lines and reasons, never defaulted.
    void turkishSpreadsheet()
    {
        const Preview p = preview(sample("tr-excel-1254.csv"), store().data());
        QCOMPARE(p.encoding, Encoding::windows1254);
        QCOMPARE(p.delimiter, QChar(u';'));
        QCOMPARE(p.header.first(), QStringLiteral("Proje Adı"));
        QCOMPARE(p.roles, (QVector<Role>{Role::name, Role::client, Role::category, Role::fee, Role::outsource,
                                         Role::status, Role::date}));
        QCOMPARE(p.dateFormat, std::optional<DateFormat>(DateFormat::dayMonthYearDots));
        QCOMPARE(p.decimalSeparator, std::optional<QChar>(u','));
        QCOMPARE(names(p.rows), (QStringList{"Ambalaj tasarımı", "Katalog", "Afiş"}));
        QCOMPARE(p.rows.at(0).project.client, QStringLiteral("Işık Gıda"));
        QCOMPARE(p.rows.at(0).project.fee, 1234.56);
        QCOMPARE(p.rows.at(1).project.fee, 12500.0);
        QCOMPARE(p.rows.at(1).project.outsource, 250.5);
        QCOMPARE(p.rows.at(1).project.status, Status::pending);
        QCOMPARE(p.rows.at(2).project.status, Status::ongoing);
        QCOMPARE(p.problems.size(), 3);
        QCOMPARE(p.problems.at(0).line, 5);
        QCOMPARE(p.problems.at(0).reason, RowProblem::Reason::badDate);
        QCOMPARE(p.problems.at(1).reason, RowProblem::Reason::negativeAmount);
        QCOMPARE(p.problems.at(2).reason, RowProblem::Reason::badAmount);
        QCOMPARE(problemText(p.problems.at(0), store()),
                 QStringLiteral("Line 5: Date \"31.02.2024\" cannot be read as a date"));
        store().setLanguage(AppLanguage::tr);
        QCOMPARE(problemText(p.problems.at(1), store()),
                 QStringLiteral("Satır 6: Ücret \"-500\" eksi bir tutar"));

        // The same file read as UTF-8 by choice gives replacement characters, not a crash.
        Options o = p.choices();
        o.encoding = Encoding::utf8;
        QVERIFY(
            preview(sample("tr-excel-1254.csv"), store().data(), o).header.first().contains(QChar(0xFFFD)));

        // Excel's "Unicode text": UTF-16 with a mark, tabs, ISO days, lower-case Turkish status.
        const Preview u = preview(sample("tr-unicode-text.csv"), store().data());
        QCOMPARE(u.encoding, Encoding::utf16Le);
        QCOMPARE(u.delimiter, QChar(u'\t'));
        QCOMPARE(u.dateFormat, std::optional<DateFormat>(DateFormat::iso));
        QCOMPARE(u.rows.size(), 1);
        QCOMPARE(u.rows.at(0).project.client, QStringLiteral("Öz Ajans"));
        QCOMPARE(u.rows.at(0).project.fee, 1500.75);
        QCOMPARE(u.rows.at(0).project.status, Status::pending);
        QVERIFY(u.rows.at(0).project.category.isEmpty());
    }

    // Guesses are made only when every row agrees; otherwise the user chooses, and nothing is
    // imported until then. Statuses no name covers are asked once each.
    void choicesWhenRowsDisagree()
    {
        Preview p = preview(sample("ambiguous-dates.csv"), store().data());
        QVERIFY(!p.dateFormat);
        QVERIFY(!p.ready());
        QVERIFY(p.rows.isEmpty() && p.problems.isEmpty());
        Options o = p.choices();
        o.dateFormat = DateFormat::dayMonthYearSlashes;
        p = preview(sample("ambiguous-dates.csv"), store().data(), o);
        QVERIFY(p.ready());
        QCOMPARE(p.rows.at(1).project.date, TestProjects::noon(QDate(2024, 4, 3)));

        // "1.500" is one and a half or fifteen hundred: never guessed.
        p = preview(sample("ambiguous-amounts.csv"), store().data());
        QVERIFY(!p.decimalSeparator);
        QVERIFY(!p.ready());
        o = p.choices();
        o.decimalSeparator = u',';
        p = preview(sample("ambiguous-amounts.csv"), store().data(), o);
        QCOMPARE(p.rows.at(0).project.fee, 1500.0);
        o.decimalSeparator = u'.';
        QCOMPARE(preview(sample("ambiguous-amounts.csv"), store().data(), o).rows.at(1).project.fee, 2.0);

        p = preview(sample("mixed-amounts-unknown-status.csv"), store().data());
        QVERIFY(!p.decimalSeparator);
        QCOMPARE(p.unknownStatuses.size(), 1);
        QCOMPARE(p.unknownStatuses.at(0).text, QStringLiteral("Archived"));
        QCOMPARE(p.unknownStatuses.at(0).rows, 2);
        QCOMPARE(p.unknownStatuses.at(0).firstLine, 2);
        o = p.choices();
        o.decimalSeparator = u',';
        o.statuses.insert(statusKey(QStringLiteral("ARCHIVED")), Status::paid);
        p = preview(sample("mixed-amounts-unknown-status.csv"), store().data(), o);
        QVERIFY(p.ready());
        QCOMPARE(names(p.rows), (QStringList{"A", "C"}));
        QCOMPARE(p.rows.at(0).project.fee, 1234.5);
        QCOMPARE(p.rows.at(0).project.status, Status::paid);
        // Answered, the status is still one to ask about (the answer may change); "paid" never is.
        QVERIFY(p.unknownStatuses.isEmpty());
        QCOMPARE(p.mappableStatuses.size(), 1);
        QCOMPARE(p.mappableStatuses.at(0).text, QStringLiteral("Archived"));
        QCOMPARE(p.mappableStatuses.at(0).rows, 2);
        QCOMPARE(p.problems.size(), 1);
        QCOMPARE(p.problems.at(0).line, 3);
        QCOMPARE(p.problems.at(0).reason, RowProblem::Reason::badAmount);

        // Statuses by name in either language and case; a missing required column is said.
        QCOMPARE(statusOf(QStringLiteral("ÖDENDİ")), std::optional<Status>(Status::paid));
        QCOMPARE(statusOf(QStringLiteral("Devam Ediyor")), std::optional<Status>(Status::ongoing));
        QCOMPARE(statusOf(QStringLiteral("In the Works")), std::optional<Status>(Status::ongoing));
        QCOMPARE(statusOf(QStringLiteral("Ödenecek")), std::optional<Status>(Status::pending));
        QVERIFY(!statusOf(QStringLiteral("maybe")));
        p = preview("Client,Fee\nX,5\n", store().data());
        QCOMPARE(p.missingRoles, (QVector<Role>{Role::name, Role::date}));
        QVERIFY(!p.ready());
        QCOMPARE(p.unknownStatuses.size(), 1); // no status column: asked once for all rows
        QVERIFY(p.unknownStatuses.at(0).text.isEmpty());

        // A day or a range in the fee column is no amount.
        p = preview("Name,Fee,Status,Date\nA,2024-01-05,paid,2024-01-05\nB,5-10,paid,2024-01-05\n"
                    "C,\"1,000.50 $\",paid,2024-01-05\n",
                    store().data());
        QCOMPARE(p.decimalSeparator, std::optional<QChar>(u'.'));
        QCOMPARE(names(p.rows), QStringList{"C"});
        QCOMPARE(p.rows.at(0).project.fee, 1000.5);
        QCOMPARE(p.problems.size(), 2);
        QCOMPARE(p.problems.at(1).reason, RowProblem::Reason::badAmount);

        // The strict reader behind the chosen separator.
        QCOMPARE(Amount::parse(QStringLiteral("₺1.234.567,8"), u','), std::optional<double>(1234567.8));
        QCOMPARE(Amount::parse(QStringLiteral("$1,234.567"), u'.'), std::optional<double>(1234.567));
        QVERIFY(!Amount::parse(QStringLiteral("1,5"), u'.'));
        QVERIFY(!Amount::parse(QStringLiteral("12.34.5"), u','));
        QVERIFY(!Amount::parse(QStringLiteral("1.2,3"), u','));
    }

    // Files too large or too long are refused before they can freeze the window.
    void refusals()
    {
        Preview p = preview(QByteArray(CsvImport::kMaxBytes + 1, 'a'), store().data());
        QCOMPARE(p.refusal, Preview::Refusal::tooLarge);
        QCOMPARE(refusalText(p, store()),
                 QStringLiteral("The file is larger than 50 MB; split it and import the parts."));
        QByteArray rows = "Name,Fee,Date\n";
        rows += QByteArray("a\n").repeated(CsvImport::kMaxRows + 1);
        p = preview(rows, store().data());
        QCOMPARE(p.refusal, Preview::Refusal::tooManyRows);
        QVERIFY(!p.ready());
        QCOMPARE(preview(QByteArray("\xEF\xBB\xBF\r\n\r\n"), store().data()).refusal,
                 Preview::Refusal::empty);

        Preview refused;
        QVERIFY(!readFile(m_dir->path(), &refused));
        QCOMPARE(refused.refusal, Preview::Refusal::unreadable);
        QVERIFY(!refusalText(refused, store()).isEmpty());
    }

    // Rows like a project of the document are marked; an import is one step with one toast, and
    // Undo takes it back whole, directories included; a later change ends that Undo.
    void importIsOneUndoableStep()
    {
        store().update([](AppData& d) {
            d.clients = {QStringLiteral("acme corp")};
            d.categories = {QStringLiteral("Print")};
            d.projects = {makeProject("Logo refresh", Status::paid, 1234.56, QDate(2024, 3, 15), "Acme Corp"),
                          makeProject("Kept", Status::paid, 10, QDate(2024, 1, 1), "acme corp")};
        });
        const AppData before = store().data();
        const Preview p = preview(sample("en-us-excel.csv"), store().data());
        QVERIFY(p.rows.at(0).duplicate);
        QCOMPARE(p.duplicates(), 1);
        QVector<Project> ticked;
        for (const Row& r : p.rows) {
            if (!r.duplicate)
                ticked << r.project;
        }
        QCOMPARE(store().importProjects(ticked), 3);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Imported 3 projects"));
        QVERIFY(store().ui().toast()->canUndo);
        QCOMPARE(store().data().projects.size(), 5);
        QCOMPARE(store().data().projects.first().name, QStringLiteral("Website"));
        QCOMPARE(store().data().projects.at(1).client, QStringLiteral("acme corp"));
        QCOMPARE(store().data().clients, (QStringList{"acme corp", "Smith, Jones & Co"}));
        QCOMPARE(store().data().categories, (QStringList{"Print", "Web"}));
        QVERIFY(store().hasPendingSave());
        store().undo();
        QCOMPARE(store().data(), before);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Import undone"));
        QVERIFY(!store().canUndoImport());

        // After an import, a deletion is what Undo takes back, and only that.
        store().setLanguage(AppLanguage::tr);
        QCOMPARE(store().importProjects({ticked.first()}), 1);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("1 proje içe aktarıldı"));
        store().setLanguage(AppLanguage::en);
        QCOMPARE(store().importProjects({ticked.at(1)}), 1);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("Imported 1 project"));
        QVERIFY(!store().data().projects.first().id.isNull());
        store().deleteProject(store().data().projects.first().id);
        QVERIFY(!store().canUndoImport());
        store().undo();
        QCOMPARE(store().data().projects.size(), 4);
        store().undo(); // nothing left to take back: the import stays
        QCOMPARE(store().data().projects.size(), 4);
        QCOMPARE(store().importProjects({}), 0);
    }

    // The choices confirmed for a header line come back for it, and only for it.
    void rememberedPerHeaderLine()
    {
        const Preview p = preview(sample("mixed-amounts-unknown-status.csv"), store().data());
        Options chosen = p.choices();
        chosen.decimalSeparator = u',';
        (*chosen.roles)[1] = Role::ignore;
        chosen.statuses.insert(statusKey(QStringLiteral("Archived")), Status::pending);
        remember(p.header, chosen);
        remember(QStringList{"Other"}, Options{});
        const Options back = remembered(p.header);
        QCOMPARE(back.roles, chosen.roles);
        QCOMPARE(back.decimalSeparator, std::optional<QChar>(u','));
        QCOMPARE(back.dateFormat, std::optional<DateFormat>(DateFormat::iso));
        QCOMPARE(back.statuses, chosen.statuses);
        QVERIFY(!remembered(QStringList{"Name", "Fee"}).roles);
        const Preview again = preview(sample("mixed-amounts-unknown-status.csv"), store().data(), back);
        QVERIFY(again.ready());
        QVERIFY(again.rows.at(0).project.client.isEmpty());
    }
};

TB_TEST_MAIN(TestCsv)
#include "tst_csv.moc"
