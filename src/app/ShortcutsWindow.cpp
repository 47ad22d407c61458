#include "app/ShortcutsWindow.h"

#include "app/AppCommands.h"
#include "i18n/L10n.h"
#include "model/Store.h"
#include "ui/OutlineButton.h"
#include "ui/Theme.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
struct Line
{
    QString keys;
    QString en;
    QString tr;
};
} // namespace

ShortcutsWindow::ShortcutsWindow(Store& store, const AppCommands& commands, QWidget* parent)
    : QDialog(parent), m_store(store), m_commands(commands)
{
    setObjectName(QStringLiteral("shortcutsWindow"));
    // A window of its own beside the main one, never modal: it is read while working.
    setWindowFlag(Qt::Window);
    setModal(false);
    resize(680, 760);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Theme::cream());
    setPalette(palette);

    m_title = new QLabel(this);
    m_title->setFont(Theme::font(18, QFont::Bold));
    m_title->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::ink().name()));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("shortcutsList"));
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setIndentation(12);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    m_list->setFont(Theme::font(13));
    m_list->setStyleSheet(
        QStringLiteral(
            "QTreeWidget { background: white; border: 1px solid %1; border-radius: 12px; padding: 6px; }"
            "QTreeWidget::item { padding: 5px 8px; color: %2; }"
            "QTreeWidget::item:selected { background: %3; color: %2; }"
            "QHeaderView::section { background: white; color: %4; border: none; padding: 4px 8px; }")
            .arg(Theme::border().name(), Theme::ink().name(), Theme::segment().name(),
                 Theme::muted().name()));

    m_close = new OutlineButton(QString(), QString(), this);
    m_close->setObjectName(QStringLiteral("shortcutsClose"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(28, 24, 28, 24);
    stack->setSpacing(16);
    stack->addWidget(m_title);
    stack->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    stack->addLayout(buttons);

    connect(&m_store, &Store::languageChanged, this, &ShortcutsWindow::retranslate);
    retranslate();
    m_list->setFocus();
}

void ShortcutsWindow::retranslate()
{
    const auto tr = [this](const QString& en, const QString& turkish) { return m_store.tr(en, turkish); };
    const QString title = tr(QStringLiteral("Keyboard Shortcuts"), QStringLiteral("Klavye Kısayolları"));
    setWindowTitle(title);
    m_title->setText(title);
    m_list->setAccessibleName(title);
    m_list->setHeaderLabels({tr(QStringLiteral("Keys"), QStringLiteral("Tuşlar")),
                             tr(QStringLiteral("Action"), QStringLiteral("İşlem"))});
    m_close->setText(tr(QStringLiteral("Close"), QStringLiteral("Kapat")));

    const QString either = tr(QStringLiteral(" or "), QStringLiteral(" ya da "));
    const QVector<Line> board = {
        {QStringLiteral("← ↑ → ↓"), QStringLiteral("Move between the cards and the columns"),
         QStringLiteral("Kartlar ve sütunlar arasında gezin")},
        {QStringLiteral("Home") + either + QStringLiteral("End"),
         QStringLiteral("First or last card of the column"), QStringLiteral("Sütunun ilk ya da son kartı")},
        {QStringLiteral("Ctrl+←") + either + QStringLiteral("Ctrl+→"),
         QStringLiteral("Move the card to the column on the left or right"),
         QStringLiteral("Kartı soldaki ya da sağdaki sütuna taşı")},
        {QStringLiteral("Enter"), QStringLiteral("Edit the project"), QStringLiteral("Projeyi düzenle")},
        {QStringLiteral("Delete"), QStringLiteral("Delete the project"), QStringLiteral("Projeyi sil")},
        {tr(QStringLiteral("Menu key"), QStringLiteral("Menü tuşu")) + either + QStringLiteral("Shift+F10"),
         QStringLiteral("Open the project's menu"), QStringLiteral("Projenin menüsünü aç")},
        {QStringLiteral("N"), QStringLiteral("Start a new project"), QStringLiteral("Yeni proje başlat")},
        {QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText),
         QStringLiteral("Undo the last move or deletion"),
         QStringLiteral("Son taşımayı ya da silmeyi geri al")},
        {QStringLiteral("Tab"), QStringLiteral("Go to the cards, the column headers and the trash"),
         QStringLiteral("Kartlara, sütun başlıklarına ve çöp kutusuna geç")},
    };
    const auto keysOf = [](const QAction* action) {
        return action->shortcut().toString(QKeySequence::NativeText);
    };
    QVector<Line> everywhere = {
        {keysOf(m_commands.newProject()), QStringLiteral("New project"), QStringLiteral("Yeni proje")},
        {keysOf(m_commands.findProject()), QStringLiteral("Find a project"), QStringLiteral("Proje ara")},
        {keysOf(m_commands.importCsv()), QStringLiteral("Import projects from a CSV file"),
         QStringLiteral("CSV dosyasından proje içe aktar")},
        {keysOf(m_commands.exportCsv()), QStringLiteral("Export projects to a CSV file"),
         QStringLiteral("Projeleri CSV dosyasına aktar")},
    };
    for (MainTab tab : MainTabInfo::all) {
        everywhere.append({keysOf(m_commands.tab(tab)),
                           QStringLiteral("Show ") + L10n::tabTitle(tab, AppLanguage::en),
                           L10n::tabTitle(tab, AppLanguage::tr) + QStringLiteral(" sayfasını göster")});
    }
    everywhere << Line{keysOf(m_commands.settings()), QStringLiteral("Settings"), QStringLiteral("Ayarlar")}
               << Line{keysOf(m_commands.showWindow()), QStringLiteral("Show the Tallybrook window"),
                       QStringLiteral("Tallybrook penceresini göster")}
               << Line{keysOf(m_commands.minimize()), QStringLiteral("Minimize the window"),
                       QStringLiteral("Pencereyi simge durumuna küçült")}
               << Line{keysOf(m_commands.shortcuts()), QStringLiteral("This list of shortcuts"),
                       QStringLiteral("Bu kısayol listesi")}
               << Line{keysOf(m_commands.quit()), QStringLiteral("Quit Tallybrook"),
                       QStringLiteral("Tallybrook'tan çık")};

    m_list->clear();
    const auto section = [&](const QString& name, const QVector<Line>& lines) {
        auto* head = new QTreeWidgetItem(m_list, {name});
        QFont bold = m_list->font();
        bold.setBold(true);
        head->setFont(0, bold);
        head->setFirstColumnSpanned(true);
        head->setFlags(Qt::ItemIsEnabled);
        for (const Line& line : lines) {
            auto* item = new QTreeWidgetItem(head, {line.keys, tr(line.en, line.tr)});
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    };
    section(tr(QStringLiteral("On the board"), QStringLiteral("Panoda")), board);
    section(tr(QStringLiteral("Everywhere"), QStringLiteral("Her yerde")), everywhere);
    m_list->expandAll();
    m_list->setCurrentItem(m_list->topLevelItem(0)->child(0));
}
