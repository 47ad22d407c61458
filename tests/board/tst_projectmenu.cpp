#include "TestMain.h"
#include "tst_board_fixture.h"

#include "board/ProjectMenu.h"
#include "ui/Animations.h"

#include <QAction>

using namespace BoardFixture;

namespace {
QStringList texts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out.append(a->isSeparator() ? QStringLiteral("—") : a->text());
    return out;
}

QList<bool> enabled(const QMenu* menu)
{
    QList<bool> out;
    for (const QAction* a : menu->actions())
        out.append(a->isEnabled());
    return out;
}
} // namespace

class TestProjectMenu : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    Project m_pending = project(QStringLiteral("Website"), Status::pending, 4000);
    Project m_paid = project(QStringLiteral("Book"), Status::paid, 800);

private slots:
    void initTestCase() { Animations::setEnabled(false); }
    void init()
    {
        m_store = store(m_dir, {m_paid, m_pending});
        // A board order other than the menu's own.
        m_store->update([](AppData& d) { d.columnOrder = {Status::ongoing, Status::pending, Status::paid}; });
    }
    void cleanup() { m_store.reset(); }

    void itemsAndTheirStates()
    {
        ProjectMenu menu(*m_store, m_pending.id);
        QCOMPARE(texts(&menu), (QStringList{QStringLiteral("Edit…"), QStringLiteral("Move to"),
                                            QStringLiteral("—"), QStringLiteral("Delete")}));
        QCOMPARE(menu.editAction()->text().at(4), QChar(0x2026));
        QCOMPARE(menu.actions().at(1)->menu(), menu.moveMenu());
        QCOMPARE(texts(menu.moveMenu()), (QStringList{QStringLiteral("Paid"), QStringLiteral("Pending"),
                                                      QStringLiteral("In the Works")}));
        QCOMPARE(enabled(menu.moveMenu()), (QList<bool>{true, false, true}));

        ProjectMenu paidMenu(*m_store, m_paid.id);
        QCOMPARE(enabled(paidMenu.moveMenu()), (QList<bool>{false, true, true}));

        m_store->setLanguage(AppLanguage::tr);
        ProjectMenu turkish(*m_store, m_pending.id);
        QCOMPARE(texts(&turkish), (QStringList{QStringLiteral("Düzenle…"), QStringLiteral("Şuraya taşı"),
                                               QStringLiteral("—"), QStringLiteral("Sil")}));
        QCOMPARE(texts(turkish.moveMenu()), (QStringList{QStringLiteral("Ödendi"), QStringLiteral("Ödenecek"),
                                                         QStringLiteral("Devam Ediyor")}));
    }

    void itemsCallTheStore()
    {
        {
            ProjectMenu menu(*m_store, m_pending.id);
            menu.editAction()->trigger();
            QVERIFY(m_store->ui().editor());
            QCOMPARE(*m_store->ui().editor(), EditorTarget::edit(m_pending.id));
            menu.moveMenu()->actions().at(0)->trigger();
        }
        QCOMPARE(statusOf(*m_store, m_pending.id), Status::paid);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Moved to Paid"));

        {
            ProjectMenu menu(*m_store, m_pending.id);
            QCOMPARE(enabled(menu.moveMenu()), (QList<bool>{false, true, true}));
            menu.moveMenu()->actions().at(2)->trigger();
        }
        QCOMPARE(statusOf(*m_store, m_pending.id), Status::ongoing);
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Moved to In the Works"));

        {
            // No confirmation: the project goes at once, with the undo toast.
            ProjectMenu menu(*m_store, m_pending.id);
            menu.deleteAction()->trigger();
        }
        QVERIFY(!contains(*m_store, m_pending.id));
        QCOMPARE(m_store->ui().toast()->message, QStringLiteral("Deleted \"Website\""));
        QVERIFY(m_store->ui().toast()->canUndo);
        m_store->undoDelete();
        QVERIFY(contains(*m_store, m_pending.id));
        QCOMPARE(m_store->data().projects.at(1).id, m_pending.id);
    }

    void aMenuForAProjectThatIsGone()
    {
        ProjectMenu menu(*m_store, m_pending.id);
        m_store->deleteProject(m_pending.id);
        const AppData before = m_store->data();
        menu.moveMenu()->actions().at(0)->trigger();
        menu.deleteAction()->trigger();
        QVERIFY(m_store->data() == before);
        // The store going away first leaves a harmless menu.
        m_store.reset();
        menu.editAction()->trigger();
    }
};

TB_WIDGET_TEST_MAIN(TestProjectMenu)
#include "tst_projectmenu.moc"
