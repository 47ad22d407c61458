#include "SettingsTestUtil.h"
#include "TestMain.h"

#include "settings/DirectoryCard.h"
#include "settings/DirectoryDelegate.h"
#include "settings/DirectoryList.h"
#include "settings/DirectoryModel.h"
#include "ui/Animations.h"
#include "ui/CountBadge.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QScrollBar>

// The list side of a directory: the model's change notifications and a long directory.
class TestDirectoryList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void modelAppliesSmallestChange();
    void fiveThousandNamesScrollFast();

private:
    SettingsFixture m_f;
    std::unique_ptr<DirectoryCard> m_card;
};

void TestDirectoryList::init()
{
    Animations::setEnabled(false);
    m_f.reset();
}

void TestDirectoryList::cleanup()
{
    m_card.reset();
}

void TestDirectoryList::modelAppliesSmallestChange()
{
    DirectoryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setNames({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(model.rowCount(), 3);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.setNames({QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c")});
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
    QCOMPARE(changed.first().at(1).toModelIndex().row(), 1);

    model.setNames({QStringLiteral("a"), QStringLiteral("c")});
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 1);
    QCOMPARE(removed.first().at(2).toInt(), 1);

    model.setNames({QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")});
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 2);
    QCOMPARE(inserted.first().at(2).toInt(), 3);

    // Repeated names: the shared ends are found without running past each other.
    model.setNames({QStringLiteral("x"), QStringLiteral("x")});
    model.setNames({QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")});
    QCOMPARE(model.names().size(), 3);
    model.setNames({});
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(reset.size(), 0);

    const int before = int(changed.size());
    model.setNames({QStringLiteral("a")});
    model.setNames({QStringLiteral("a")});
    QCOMPARE(int(changed.size()), before);
}

void TestDirectoryList::fiveThousandNamesScrollFast()
{
    QStringList names;
    names.reserve(5000);
    for (int i = 0; i < 5000; ++i)
        names << QStringLiteral("Client number %1 with a fairly long studio name")
                     .arg(i, 4, 10, QLatin1Char('0'));
    m_f.store->update([&names](AppData& d) { d.clients = names; });

    QElapsedTimer build;
    build.start();
    m_card = std::make_unique<DirectoryCard>(*m_f.store, DirectoryCard::clients(*m_f.store));
    m_card->resize(420, DirectoryCard::kHeight);
    m_card->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_card.get()));
    m_card->list()->viewport()->repaint();
    const qint64 buildMs = build.elapsed();
    QCOMPARE(m_card->badge()->text(), QStringLiteral("5000 Clients"));

    QScrollBar* bar = m_card->list()->verticalScrollBar();
    QVERIFY(bar->maximum() > 5000 * DirectoryDelegate::kRowHeight);
    // No widgets per row: only the scroll machinery lives in the viewport.
    QVERIFY(m_card->list()->viewport()->findChildren<QWidget*>().size() <= 2);

    QElapsedTimer scroll;
    scroll.start();
    const int steps = 200;
    for (int i = 1; i <= steps; ++i) {
        bar->setValue(bar->maximum() * i / steps);
        m_card->list()->viewport()->repaint();
    }
    const qint64 scrollMs = scroll.elapsed();
    qInfo("5000 names: built and painted in %lld ms; %d scroll steps painted in %lld ms (%.2f ms each)",
          buildMs, steps, scrollMs, double(scrollMs) / steps);
    const QModelIndex last = m_card->model()->index(4999);
    QVERIFY(m_card->list()->viewport()->rect().intersects(m_card->list()->visualRect(last)));
    // Generous bounds that still catch a view that lays out or paints every row.
    QVERIFY2(buildMs < 1500, qPrintable(QString::number(buildMs)));
    QVERIFY2(scrollMs < 3000, qPrintable(QString::number(scrollMs)));

    // Renaming one entry among 5,000 changes one row only.
    QSignalSpy resets(m_card->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(m_card->model(), &QAbstractItemModel::dataChanged);
    m_f.store->editClient(names.at(2500), QStringLiteral("Renamed"));
    QCOMPARE(resets.size(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(m_card->model()->names().at(2500), QStringLiteral("Renamed"));
}

TB_WIDGET_TEST_MAIN(TestDirectoryList)
#include "tst_directory_list.moc"
