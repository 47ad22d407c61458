#include "TestMain.h"

#include "LoadCheck.h"

#include <QDirIterator>

// Every seed and every input that once found a fault, run through the fuzz target's checks.
class TestFuzzInputs final : public QObject
{
    Q_OBJECT
private slots:
    void inputs_data()
    {
        QTest::addColumn<QString>("path");
        int n = 0;
        for (const char* folder : {TB_FUZZ_DIR "/corpus", TB_FUZZ_DIR "/regressions"}) {
            QDirIterator it(QString::fromUtf8(folder), QDir::Files);
            while (it.hasNext()) {
                const QString path = it.next();
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
                ++n;
            }
        }
        QVERIFY(n >= 5);
    }
    void inputs()
    {
        QFETCH(QString, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        LoadCheck::check(f.readAll()); // aborts the test process on a fault
    }
};

TB_TEST_MAIN(TestFuzzInputs)
#include "tst_fuzz_inputs.moc"
