#include "settings/BackupsCard.h"

#include "i18n/CurrencyRate.h"
#include "model/BackupTexts.h"
#include "model/Store.h"
#include "settings/SettingsLabel.h"
#include "settings/TextLinkButton.h"
#include "ui/InkButton.h"
#include "ui/Theme.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QThreadPool>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kVisibleRows = 5;
// A long preview is cut here, with a count of what is left out.
constexpr int kPreviewLines = 14;

QString colorName(const QColor& c)
{
    return c.name(QColor::HexRgb);
}
} // namespace

BackupsCard::BackupsCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("backupsCard"));
    auto* head = new QHBoxLayout;
    head->setContentsMargins(0, 0, 0, 0);
    m_title = SettingsLabel::make(QString(), 13, QFont::Bold, Theme::ink(), this);
    m_open = new TextLinkButton(QString(), this);
    m_open->setObjectName(QStringLiteral("openBackupsFolder"));
    m_open->setFocusPolicy(Qt::StrongFocus);
    connect(m_open, &QAbstractButton::clicked, this, [this] {
        const QString folder = Backups::folderFor(m_store.fileURL());
        QDir().mkpath(folder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    head->addWidget(m_title);
    head->addStretch(1);
    head->addWidget(m_open);
    body()->addLayout(head);
    m_detail = SettingsLabel::make(QString(), 11, QFont::Normal, Theme::muted(), this);
    m_detail->setWordWrap(true);
    body()->addWidget(m_detail);
    body()->addSpacing(8);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("backupsList"));
    m_list->setFont(Theme::font(12, QFont::Medium));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setTextElideMode(Qt::ElideRight);
    // A narrow window shortens the rows with an ellipsis (the whole text is the tooltip) rather
    // than scrolling them sideways.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setStyleSheet(
        QStringLiteral("QListWidget { background: transparent; }"
                       "QListWidget::item { padding: 4px 6px; border-radius: 8px; color: %1; }"
                       "QListWidget::item:selected { background: %2; color: %1; }")
            .arg(colorName(Theme::ink()), colorName(Theme::segment())));
    body()->addWidget(m_list);
    m_empty = SettingsLabel::make(QString(), 12, QFont::Medium, Theme::muted(), this);
    body()->addWidget(m_empty);

    m_preview = SettingsLabel::make(QString(), 11, QFont::Medium, Theme::secondary(), this);
    m_preview->setObjectName(QStringLiteral("backupPreview"));
    m_preview->setTextFormat(Qt::RichText);
    m_preview->setWordWrap(true);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body()->addSpacing(8);
    body()->addWidget(m_preview);

    auto* actions = new QHBoxLayout;
    actions->setContentsMargins(0, 8, 0, 0);
    actions->addStretch(1);
    m_restore = new InkButton(QString(), QString(), this);
    m_restore->setObjectName(QStringLiteral("restoreBackup"));
    m_restore->setEnabled(false);
    connect(m_restore, &QAbstractButton::clicked, this, &BackupsCard::confirmRestore);
    actions->addWidget(m_restore);
    body()->addLayout(actions);

    // Chosen by the mouse, the keys, or a screen reader's selection alike.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &BackupsCard::showPreview);
    connect(m_list, &QListWidget::itemActivated, this, [this] {
        if (m_restore->isEnabled())
            confirmRestore();
    });
    connect(&m_store, &Store::languageChanged, this, &BackupsCard::retranslate);
    // What a restore would change depends on the document in use.
    connect(&m_store, &Store::dataChanged, this, &BackupsCard::showPreview);
    // The backups listed are those beside the file in use.
    connect(&m_store, &Store::dataFolderChanged, this, &BackupsCard::refresh);
    retranslate();
    refresh();
}

int BackupsCard::chosenRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void BackupsCard::refresh()
{
    const QString current = chosenRow() >= 0 ? m_entries.value(chosenRow()).path : QString();
    m_entries = Backups::catalog(m_store.dataFolder());
    m_readPath.clear();
    m_read.reset();
    m_reading = false;
    ++m_readGeneration;
    const QSignalBlocker block(m_list);
    m_list->clear();
    int select = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        m_list->addItem(QString());
        fillRow(i);
        if (m_entries.at(i).path == current)
            select = i;
    }
    m_list->setCurrentRow(select);
    const int rows = std::max(1, std::min(int(m_entries.size()), kVisibleRows));
    m_list->setFixedHeight(m_entries.isEmpty() ? 0 : rows * m_list->sizeHintForRow(0) + 2);
    m_list->setVisible(!m_entries.isEmpty());
    m_empty->setVisible(m_entries.isEmpty());
    showPreview();
    describeInBackground();
}

BackupsCard::~BackupsCard()
{
    *m_listing = 0; // the background reading stops
}

void BackupsCard::describeInBackground()
{
    // A large file takes a moment to read: the entries are read on another thread, each shown
    // as it is done, and the reading stops when the list is read again or the card goes.
    const quint64 listing = ++*m_listing;
    QVector<Backups::Entry> todo = m_entries;
    QPointer<BackupsCard> self(this);
    std::shared_ptr<std::atomic<quint64>> current = m_listing;
    QThreadPool::globalInstance()->start([self, listing, todo, current]() mutable {
        for (int i = 0; i < todo.size(); ++i) {
            if (*current != listing)
                return;
            if (todo.at(i).described)
                continue;
            Backups::describe(todo[i]);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, listing, i, entry = todo.at(i)] {
                    if (!self || *self->m_listing != listing || i >= self->m_entries.size() ||
                        self->m_entries.at(i).described)
                        return;
                    self->m_entries[i] = entry;
                    self->fillRow(i);
                },
                Qt::QueuedConnection);
        }
    });
}

void BackupsCard::describeAll()
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (!m_entries.at(i).described) {
            Backups::describe(m_entries[i]);
            fillRow(i);
        }
    }
}

void BackupsCard::fillRow(int row)
{
    QListWidgetItem* item = m_list->item(row);
    if (!item)
        return;
    const Backups::Entry& e = m_entries.at(row);
    // No width of its own: the row takes the list's width, and its text is elided to it.
    item->setSizeHint(QSize(1, QFontMetrics(m_list->font()).height() + 10));
    const BackupTexts::Money money{m_store.language(), m_store.data().currency, CurrencyRate::usdToTry()};
    const QString when = BackupTexts::when(e.time, m_store.language());
    const QString summary = BackupTexts::summary(e, money);
    item->setText(when + QStringLiteral("  ·  ") + summary);
    item->setToolTip(item->text() + QLatin1Char('\n') + e.path);
    item->setData(Qt::AccessibleTextRole, when + QStringLiteral(", ") + summary);
}

void BackupsCard::showPreview()
{
    const int row = chosenRow();
    // Shown only for an entry that can be restored.
    m_restore->setEnabled(false);
    m_restore->setVisible(false);
    if (row < 0 || row >= m_entries.size()) {
        m_preview->setVisible(false);
        return;
    }
    m_preview->setVisible(true);
    const Backups::Entry& entry = m_entries.at(row);
    if (entry.path != m_readPath) {
        // Read on another thread; the preview shows once it is read.
        m_readPath = entry.path;
        m_readError.clear();
        m_read.reset();
        m_reading = true;
        const quint64 reading = ++m_readGeneration;
        QPointer<BackupsCard> self(this);
        QThreadPool::globalInstance()->start(
            [self, reading, path = entry.path, turkish = m_store.turkishCase()] {
                QString error;
                std::optional<AppData> read = Store::readDocument(path, turkish, &error);
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [self, reading, read = std::move(read), error]() mutable {
                        if (!self || self->m_readGeneration != reading)
                            return;
                        self->m_read = std::move(read);
                        self->m_readError = error;
                        self->m_reading = false;
                        self->showPreview();
                    },
                    Qt::QueuedConnection);
            });
    }
    if (m_reading) {
        m_preview->setText(m_store.tr(QStringLiteral("Reading…"), QStringLiteral("Okunuyor…")));
        return;
    }
    const std::optional<AppData>& other = m_read;
    if (!other) {
        m_preview->setText(m_store.tr(QStringLiteral("This file cannot be read: "),
                                      QStringLiteral("Bu dosya okunamıyor: ")) +
                           m_readError.toHtmlEscaped());
        return;
    }
    const BackupTexts::Money money{m_store.language(), m_store.data().currency, CurrencyRate::usdToTry()};
    const DocumentDiff::Diff diff = DocumentDiff::compare(m_store.data(), *other);
    const QVector<BackupTexts::Line> lines = BackupTexts::preview(diff, m_store.data(), *other, money);
    QStringList html;
    for (int i = 0; i < lines.size() && i < kPreviewLines; ++i) {
        const BackupTexts::Line& line = lines.at(i);
        const QString text = line.text.toHtmlEscaped();
        using K = BackupTexts::Line::Kind;
        switch (line.kind) {
        case K::heading:
            html << QStringLiteral("<b style=\"color:%1\">%2</b>").arg(colorName(Theme::ink()), text);
            break;
        case K::added:
            html << QStringLiteral("<span style=\"color:%1\">+ %2</span>")
                        .arg(colorName(Theme::emerald700()), text);
            break;
        case K::removed:
            html
                << QStringLiteral("<span style=\"color:%1\">− %2</span>").arg(colorName(Theme::rose()), text);
            break;
        case K::changed:
            html << QStringLiteral("~ ") + text;
            break;
        case K::detail:
            html << QStringLiteral("&nbsp;&nbsp;&nbsp;") + text;
            break;
        case K::note:
            html << text;
            break;
        }
    }
    if (lines.size() > kPreviewLines)
        html << m_store.tr(QStringLiteral("…and %1 more lines"), QStringLiteral("…ve %1 satır daha"))
                    .arg(lines.size() - kPreviewLines);
    m_preview->setText(html.join(QStringLiteral("<br>")));
    m_restore->setEnabled(!diff.isEmpty());
    m_restore->setVisible(!diff.isEmpty());
}

void BackupsCard::confirmRestore()
{
    const int row = chosenRow();
    if (row < 0 || row >= m_entries.size() || !m_restore->isEnabled())
        return;
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    const QString path = m_entries.at(row).path;
    const QString when = BackupTexts::when(m_entries.at(row).time, m_store.language());
    auto* box = new QMessageBox(window());
    box->setObjectName(QStringLiteral("restoreConfirmation"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Question);
    const QString title = m_store
                              .tr(QStringLiteral("Restore the backup from %1?"),
                                  QStringLiteral("%1 tarihli yedek geri yüklensin mi?"))
                              .arg(when);
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(m_store.tr(
        QStringLiteral("The data in use is backed up first, so you can come back to it from this list."),
        QStringLiteral("Kullanımdaki veriler önce yedeklenir; bu listeden onlara geri dönebilirsiniz.")));
    QPushButton* restore = box->addButton(m_store.tr(QStringLiteral("Restore"), QStringLiteral("Geri Yükle")),
                                          QMessageBox::AcceptRole);
    QPushButton* cancel = box->addButton(m_store.tr(QStringLiteral("Cancel"), QStringLiteral("İptal")),
                                         QMessageBox::RejectRole);
    restore->setObjectName(QStringLiteral("confirmRestore"));
    cancel->setObjectName(QStringLiteral("confirmCancel"));
    // The question was asked on purpose: Return restores, Escape cancels.
    box->setDefaultButton(restore);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, restore, path](QAbstractButton* button) {
        if (button == restore && m_store.restoreBackup(path))
            refresh();
    });
    connect(box, &QDialog::finished, this, [this] { m_dialog = nullptr; });
    m_dialog = box;
    box->open();
}

QMessageBox* BackupsCard::confirmation() const
{
    return m_dialog;
}

void BackupsCard::dismissConfirmation()
{
    if (m_dialog)
        m_dialog->reject();
}

void BackupsCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Backups"), QStringLiteral("Yedekler")));
    m_detail->setText(m_store.tr(
        QStringLiteral(
            "Copies of your data, made while you work. Choose one to see what restoring it would change."),
        QStringLiteral(
            "Çalışırken alınan veri kopyaları. Geri yüklemenin neyi değiştireceğini görmek için birini "
            "seçin.")));
    m_open->setText(m_store.tr(QStringLiteral("Open Folder"), QStringLiteral("Klasörü Aç")));
    m_open->updateGeometry();
    m_empty->setText(m_store.tr(QStringLiteral("No backups yet."), QStringLiteral("Henüz yedek yok.")));
    m_restore->setText(m_store.tr(QStringLiteral("Restore"), QStringLiteral("Geri Yükle")));
    m_restore->updateGeometry();
    m_list->setAccessibleName(m_title->text());
    for (int i = 0; i < m_entries.size(); ++i)
        fillRow(i);
    showPreview();
}
