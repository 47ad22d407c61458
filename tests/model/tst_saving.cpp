#include "TestMain.h"

#include "StoreTestUtil.h"
#include "model/AtomicWrite.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <mutex>
#include <thread>

using namespace StoreTestUtil;

namespace {

// Stands between the saving thread and the disk: records what each write held and on which
// thread, can be held shut until the test opens it, and can fail on demand.
struct Disk
{
    QSemaphore entered;
    QSemaphore gate{1000000};
    std::atomic<bool> failing{false};
    std::mutex mutex;
    QVector<double> written; // the tax rate of each write, in the order they reached the disk
    QVector<QThread*> threads;

    void close() { gate.acquire(gate.available()); }
    void open() { gate.release(1000000); }

    bool write(const QString& path, const QByteArray& bytes, QString* error)
    {
        entered.release();
        gate.acquire();
        gate.release();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            written.append(DataFile::decode(bytes).value_or(AppData{}).taxRate);
            threads.append(QThread::currentThread());
        }
        if (failing) {
            *error = QStringLiteral("No space left on device");
            return false;
        }
        return AtomicWrite::write(path, bytes, error);
    }

    QVector<double> writes()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return written;
    }
};

void attach(Store& store, Disk& disk)
{
    store.setSaveWriter([&disk](const QString& path, const QByteArray& bytes, QString* error) {
        return disk.write(path, bytes, error);
    });
}

// A change whose debounced save has started on the saving thread.
void changeAndLetTheSaveStart(Store& store, double taxRate)
{
    store.setTaxRate(taxRate);
    QVERIFY(store.hasPendingSave());
    QTRY_VERIFY_WITH_TIMEOUT(!store.hasPendingSave(), 5000);
    QVERIFY(store.isSaving());
}

} // namespace

class TestSaving final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->path() + QStringLiteral("/Tallybrook");
    }

    void savesRunInOrderOffTheGuiThreadAndOnlyTheNewestWaits()
    {
        Store store(m_folder, false);
        Disk disk;
        attach(store, disk);
        QSignalSpy saves(&store, &Store::saved);
        disk.close();
        changeAndLetTheSaveStart(store, 1);
        QVERIFY(disk.entered.tryAcquire(1, 5000)); // the first write is held at the disk
        // While it is held the interface goes on, and later changes queue up behind it.
        changeAndLetTheSaveStart(store, 2);
        changeAndLetTheSaveStart(store, 3);
        QCOMPARE(saves.size(), 0);
        QVERIFY(store.hasUnsavedChanges());
        disk.open();
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 2, 5000);
        QVERIFY(!store.isSaving());
        // The second save, replaced while it waited, never reached the disk: nothing older can
        // land after something newer.
        QCOMPARE(disk.writes(), (QVector<double>{1, 3}));
        QCOMPARE(saves.at(0).at(0).toBool(), true);
        QCOMPARE(saves.at(1).at(0).toBool(), true);
        QVERIFY(!store.hasUnsavedChanges());
        QCOMPARE(readDocument(store.fileURL()), store.data());
        for (QThread* thread : std::as_const(disk.threads))
            QVERIFY(thread != QThread::currentThread());

        // A save that lands while a newer change waits leaves that change unsaved.
        disk.close();
        changeAndLetTheSaveStart(store, 4);
        QVERIFY(disk.entered.tryAcquire(1, 5000));
        store.setTaxRate(5);
        disk.open();
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 3, 5000);
        QVERIFY(store.hasPendingSave());
        QVERIFY(store.hasUnsavedChanges());
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 4, 5000);
        QVERIFY(!store.hasUnsavedChanges());
        QCOMPARE(readDocument(store.fileURL()).taxRate, 5.0);

        // Many changes, the disk sometimes slow: the file holds the last and the writes never
        // go back in time.
        for (int i = 0; i < 40; ++i) {
            store.setTaxRate(10 + i);
            if (i % 7 == 0)
                disk.close();
            if (i % 7 == 3)
                disk.open();
            if (i % 5 == 0)
                QTRY_VERIFY_WITH_TIMEOUT(!store.hasPendingSave(), 5000);
        }
        disk.open();
        store.flushPendingSave();
        const QVector<double> writes = disk.writes();
        QVERIFY(std::is_sorted(writes.begin(), writes.end()));
        QCOMPARE(writes.last(), 49.0);
        QCOMPARE(readDocument(store.fileURL()).taxRate, 49.0);
        QVERIFY(!store.hasUnsavedChanges());
    }

    void quitWaitsForTheSaveInFlightThenWritesTheLatest()
    {
        Store store(m_folder, false);
        Disk disk;
        attach(store, disk);
        disk.close();
        changeAndLetTheSaveStart(store, 1);
        QVERIFY(disk.entered.tryAcquire(1, 5000));
        store.addClient(QStringLiteral("Added during the save"));
        QVERIFY(store.hasPendingSave());
        // The disk frees up only once the quit already waits.
        std::thread opener([&disk] {
            QThread::msleep(50);
            disk.open();
        });
        store.saveBeforeQuit();
        opener.join();
        QVERIFY(!store.isSaving());
        QVERIFY(!store.hasPendingSave());
        QVERIFY(!store.hasUnsavedChanges());
        QCOMPARE(disk.writes(), (QVector<double>{1, 1}));
        const AppData written = readDocument(store.fileURL());
        QVERIFY(written.clients.contains(QStringLiteral("Added during the save")));
        QCOMPARE(written, store.data());

        // A store that goes away while a save waits still writes it first.
        {
            Store second(m_folder, false);
            second.setTaxRate(7);
            second.flushPendingSave();
            second.setTaxRate(8);
            QTRY_VERIFY_WITH_TIMEOUT(!second.hasPendingSave(), 5000);
        }
        QCOMPARE(readDocument(m_folder + QStringLiteral("/tallybrook.json")).taxRate, 8.0);
    }

    void failedSaveIsReportedAndRetriedByTheNextChange()
    {
        Store store(m_folder, false);
        const QByteArray before = readFile(store.fileURL());
        Disk disk;
        attach(store, disk);
        disk.failing = true;
        QSignalSpy saves(&store, &Store::saved);
        store.addClient(QStringLiteral("First"));
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 1, 5000);
        QCOMPARE(saves.at(0).at(0).toBool(), false);
        QVERIFY(store.ui().toast());
        QCOMPARE(store.ui().toast()->message, QStringLiteral("Could not save: No space left on device"));
        QVERIFY(store.hasUnsavedChanges());
        QCOMPARE(readFile(store.fileURL()), before);

        disk.failing = false;
        store.addClient(QStringLiteral("Second"));
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 2, 5000);
        QCOMPARE(saves.at(1).at(0).toBool(), true);
        QVERIFY(!store.hasUnsavedChanges());
        const QStringList clients = readDocument(store.fileURL()).clients;
        QVERIFY(clients.contains(QStringLiteral("First")) && clients.contains(QStringLiteral("Second")));

        // A document that cannot be encoded fails the same way, off the GUI thread too.
        store.update([](AppData& d) { d.projects.first().fee = qInf(); });
        QTRY_COMPARE_WITH_TIMEOUT(saves.size(), 3, 5000);
        QCOMPARE(saves.at(2).at(0).toBool(), false);
        QVERIFY(store.ui().toast()->message.startsWith(QStringLiteral("Could not save: The value of")));
        QVERIFY(store.hasUnsavedChanges());
        QVERIFY(readDocument(store.fileURL()).clients.contains(QStringLiteral("Second")));
    }
};

TB_TEST_MAIN(TestSaving)
#include "tst_saving.moc"
