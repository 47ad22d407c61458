#include "TestMain.h"

#include "app/ImportSheet.h"
#include "model/Store.h"
#include "settings/PopUpButton.h"
#include "ui/InkButton.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <memory>

using namespace CsvImport;

namespace {
QByteArray sample(const char* name)
{
    QFile f(QStringLiteral(TB_MODEL_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// As a click on one of the picker's entries does.
void choose(QComboBox* picker, const QVariant& value)
{
    const int at = picker->findData(value);
    QVERIFY2(at >= 0, qPrintable(value.toString()));
    picker->setCurrentIndex(at);
    emit picker->activated(at);
}

QStringList cellsOfColumn(const QTableView* table, int column)
{
    QStringList out;
    for (int r = 0; r < table->model()->rowCount(); ++r)
        out.append(table->model()->index(r, column).data().toString());
    return out;
}
} // namespace

class TestImportSheet : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_round = 0;
    std::unique_ptr<Store> m_store;

    Store& store() { return *m_store; }

private slots:
    void init()
    {
        m_store =
            std::make_unique<Store>(m_dir.path() + QStringLiteral("/s") + QString::number(++m_round), false);
        m_store->setLanguage(AppLanguage::en);
        m_store->update([](AppData& d) { d = AppData::empty(); });
        m_store->ui().setToast(std::nullopt);
    }
    void cleanup() { m_store.reset(); }

    // A Turkish spreadsheet's file: every guess made, the unreadable date listed with its line and
    // never imported, the projects added as one step that Undo takes back, the clients joining the
    // directory, and the sheet in Turkish.
    void turkishSpreadsheetFile()
    {
        store().setActiveYear(2026);
        store().setLanguage(AppLanguage::tr);
        ImportSheet sheet(store(), sample("tr-excel-1254.csv"), QStringLiteral("projeler.csv"));
        QCOMPARE(sheet.encodingPicker()->currentText(), QStringLiteral("Windows-1254"));
        QCOMPARE(sheet.delimiterPicker()->currentData().toChar(), QChar(u';'));
        QCOMPARE(sheet.datePicker()->currentText(), QStringLiteral("DD.MM.YYYY"));
        QCOMPARE(sheet.decimalPicker()->currentText(), QStringLiteral("1.234,56"));
        QCOMPARE(sheet.rolePickers().size(), 7);
        QCOMPARE(sheet.rolePickers().at(1)->currentText(), QStringLiteral("Müşteri"));
        QCOMPARE(sheet.rolePickers().at(3)->currentText(), QStringLiteral("Ücret"));
        QCOMPARE(sheet.table()->model()->rowCount(), 6);
        QCOMPARE(cellsOfColumn(sheet.table(), 2).first(), QStringLiteral("Ambalaj tasarımı"));
        // A day that does not exist, a negative fee and words where the fee should be.
        QCOMPARE(sheet.problemList()->count(), 3);
        QVERIFY(sheet.problemList()->item(1)->text().startsWith(QStringLiteral("Satır 6: ")));
        QVERIFY(sheet.problemList()->item(2)->text().contains(QStringLiteral("yüz lira")));
        QVERIFY2(sheet.problemList()->item(0)->text().startsWith(QStringLiteral("Satır 5: ")),
                 qPrintable(sheet.problemList()->item(0)->text()));
        QVERIFY(sheet.problemList()->item(0)->text().contains(QStringLiteral("31.02.2024")));
        // The bad row has no box to tick; the others are ticked.
        const QAbstractItemModel* rows = sheet.table()->model();
        QVERIFY(!rows->index(3, 0).flags().testFlag(Qt::ItemIsUserCheckable));
        QCOMPARE(rows->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(rows->index(3, 1).data().toString(), QStringLiteral("Aktarılamaz"));
        QCOMPARE(sheet.importButton()->text(), QStringLiteral("3 Projeyi İçe Aktar"));
        QVERIFY(sheet.importButton()->isEnabled());
        QCOMPARE(sheet.notice()->text(), QStringLiteral("3 satır dışarıda kaldı, yukarıda listelendi"));

        sheet.importButton()->click();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(store().data().projects.size(), 3);
        QVERIFY(store().data().clients.contains(QStringLiteral("Işık Gıda")));
        QVERIFY(store().data().clients.contains(QStringLiteral("Şahin Ltd")));
        const auto katalog =
            std::find_if(store().data().projects.cbegin(), store().data().projects.cend(),
                         [](const Project& p) { return p.name == QStringLiteral("Katalog"); });
        QVERIFY(katalog != store().data().projects.cend());
        QCOMPARE(katalog->fee, 12500.0);
        QCOMPARE(katalog->outsource, 250.5);
        QCOMPARE(katalog->status, Status::pending);
        QCOMPARE(store().ui().toast()->message, QStringLiteral("3 proje içe aktarıldı"));
        // None of them is in the year that was shown: the board goes to the latest of theirs.
        QCOMPARE(store().activeYear(), 2024);
        QVERIFY(store().canUndoImport());
        store().undo();
        QVERIFY(store().data().projects.isEmpty());
        store().setLanguage(AppLanguage::en);
    }

    // Dates and amounts that read more than one way wait for the user's choice; so does a status
    // no name covers, and its answer can change; a change of delimiter guesses the columns again.
    void choicesTheFileCannotMake()
    {
        ImportSheet dates(store(), sample("ambiguous-dates.csv"), QStringLiteral("dates.csv"));
        QCOMPARE(dates.datePicker()->currentText(), QStringLiteral("Choose…"));
        QVERIFY(!dates.importButton()->isEnabled());
        QCOMPARE(dates.importButton()->text(), QStringLiteral("Import Projects"));
        QVERIFY2(dates.notice()->text().contains(QStringLiteral("dates")),
                 qPrintable(dates.notice()->text()));
        choose(dates.datePicker(), int(DateFormat::monthDayYearSlashes));
        QVERIFY(dates.preview().ready());
        QCOMPARE(dates.importButton()->text(), QStringLiteral("Import 2 Projects"));
        QCOMPARE(dates.ticked().first().date.date(), QDate(2024, 1, 2));
        choose(dates.datePicker(), int(DateFormat::dayMonthYearSlashes));
        QCOMPARE(dates.ticked().first().date.date(), QDate(2024, 2, 1));
        // The placeholder has gone with the choice made.
        QCOMPARE(dates.datePicker()->findData(-1), -1);

        ImportSheet mixed(store(), sample("mixed-amounts-unknown-status.csv"), QStringLiteral("mixed.csv"));
        QCOMPARE(mixed.decimalPicker()->currentText(), QStringLiteral("Choose…"));
        QVERIFY(!mixed.importButton()->isEnabled());
        choose(mixed.decimalPicker(), QChar(u','));
        // "Archived" and "archived" are one status to map.
        QCOMPARE(mixed.statusPickers().size(), 1);
        QVERIFY2(mixed.notice()->text().contains(QStringLiteral("status")),
                 qPrintable(mixed.notice()->text()));
        QVERIFY(!mixed.importButton()->isEnabled());
        choose(mixed.statusPickers().first(), int(Status::paid));
        QVERIFY(mixed.preview().ready());
        QCOMPARE(mixed.statusPickers().size(), 1);
        QCOMPARE(mixed.statusPickers().first()->currentText(), QStringLiteral("Paid"));
        choose(mixed.statusPickers().first(), int(Status::pending));
        QCOMPARE(mixed.ticked().first().status, Status::pending);
        // Read with "," as the decimal comma, "1,234.50" cannot be an amount: listed, not guessed.
        QCOMPARE(mixed.ticked().size(), 2);
        QCOMPARE(mixed.problemList()->count(), 1);
        QVERIFY(mixed.problemList()->item(0)->text().startsWith(QStringLiteral("Line 3: ")));

        choose(mixed.delimiterPicker(), QChar(u','));
        QCOMPARE(mixed.rolePickers().size(), 1);
        QVERIFY(!mixed.importButton()->isEnabled());
        QVERIFY2(mixed.notice()->text().startsWith(QStringLiteral("Choose the column")),
                 qPrintable(mixed.notice()->text()));
        choose(mixed.delimiterPicker(), QChar(u';'));
        QCOMPARE(mixed.rolePickers().size(), 5);
        // A wrong encoding reads nonsense, never a crash, and the right one brings the rows back.
        choose(mixed.encodingPicker(), int(Encoding::utf16Le));
        QVERIFY(!mixed.importButton()->isEnabled());
        QVERIFY(!mixed.notice()->text().isEmpty());
        choose(mixed.encodingPicker(), int(Encoding::utf8));
        QCOMPARE(mixed.rolePickers().size(), 5);
        QCOMPARE(mixed.table()->model()->rowCount(), 3);
        // The status answered before is still there to change.
        QCOMPARE(mixed.statusPickers().size(), 1);
        QCOMPARE(mixed.statusPickers().first()->currentText(), QStringLiteral("Pending"));
    }

    // A column given a role another column had takes it over; "ignore" leaves a column out; the
    // choices are remembered for the next file with the same header line.
    void rolesAndTheRememberedMapping()
    {
        const QByteArray bytes = sample("en-us-excel.csv");
        {
            ImportSheet sheet(store(), bytes, QStringLiteral("a.csv"));
            QCOMPARE(sheet.rolePickers().at(2)->currentData().toInt(), int(Role::category));
            choose(sheet.rolePickers().at(2), int(Role::ignore));
            QVERIFY(sheet.ticked().first().category.isEmpty());
            // The client column becomes the name; the old name column lets the role go.
            choose(sheet.rolePickers().at(1), int(Role::name));
            QCOMPARE(sheet.rolePickers().at(0)->currentData().toInt(), int(Role::ignore));
            QCOMPARE(sheet.ticked().first().name, QStringLiteral("Acme Corp"));
            choose(sheet.rolePickers().at(0), int(Role::name));
            QCOMPARE(sheet.rolePickers().at(1)->currentData().toInt(), int(Role::ignore));
            QCOMPARE(sheet.table()->model()->headerData(4, Qt::Horizontal).toString(),
                     QStringLiteral("Category\n—"));
            sheet.importButton()->click();
        }
        QCOMPARE(store().data().projects.size(), 4);
        QVERIFY(store().data().categories.isEmpty());
        // The next file with this header starts from those choices.
        ImportSheet again(store(), bytes, QStringLiteral("b.csv"));
        QCOMPARE(again.rolePickers().at(2)->currentData().toInt(), int(Role::ignore));
        QCOMPARE(again.rolePickers().at(1)->currentData().toInt(), int(Role::ignore));
        // What is already in the document comes unticked, and can be ticked.
        QCOMPARE(again.preview().duplicates(), 4);
        QCOMPARE(again.tickedCount(), 0);
        QVERIFY(!again.importButton()->isEnabled());
        QVERIFY(again.notice()->text().contains(QStringLiteral("4 duplicates left unticked")));
        QCOMPARE(again.table()->model()->index(0, 1).data().toString(), QStringLiteral("Duplicate"));
        QVERIFY(again.table()->model()->setData(again.table()->model()->index(1, 0), Qt::Checked,
                                                Qt::CheckStateRole));
        QCOMPARE(again.importButton()->text(), QStringLiteral("Import 1 Project"));
        QCOMPARE(again.ticked().first().name, QStringLiteral("Website"));
        // Space ticks the current row from any of its cells.
        again.table()->setCurrentIndex(again.table()->model()->index(2, 3));
        QTest::keyClick(again.table(), Qt::Key_Space);
        QCOMPARE(again.tickedCount(), 2);
        QCOMPARE(again.table()->model()->index(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        // A tick survives a change of the date format, which keeps the rows' lines.
        choose(again.datePicker(), int(DateFormat::monthDayYearSlashes));
        QCOMPARE(again.tickedCount(), 2);
    }
};

TB_WIDGET_TEST_MAIN(TestImportSheet)
#include "tst_importsheet.moc"
