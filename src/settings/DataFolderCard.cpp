#include "settings/DataFolderCard.h"

#include "model/Store.h"
#include "settings/SettingsLabel.h"
#include "settings/TextLinkButton.h"
#include "ui/OutlineButton.h"
#include "ui/Theme.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A path shortened in its middle to the width it gets: both the start and the folder's own name
// stay readable. The whole path is the tooltip.
class PathLabel final : public QLabel
{
public:
    explicit PathLabel(QWidget* parent) : QLabel(parent)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    void setPath(const QString& path)
    {
        m_path = path;
        setToolTip(path);
        setAccessibleName(path);
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide()
    {
        setText(fontMetrics().elidedText(m_path, Qt::ElideMiddle, std::max(0, contentsRect().width())));
    }
    QString m_path;
};

} // namespace

DataFolderCard::DataFolderCard(Store& store, QWidget* parent)
    : PanelFrame(24, 24, parent), m_store(store),
      m_picker([](QWidget* owner, const QString& title, const QString& start) {
          return QFileDialog::getExistingDirectory(owner, title, start);
      })
{
    setObjectName(QStringLiteral("dataFolderCard"));
    auto* head = new QHBoxLayout;
    head->setContentsMargins(0, 0, 0, 0);
    m_title = SettingsLabel::make(QString(), 13, QFont::Bold, Theme::ink(), this);
    m_title->setObjectName(QStringLiteral("dataFolderTitle"));
    m_open = new TextLinkButton(QString(), this);
    m_open->setObjectName(QStringLiteral("openDataFolder"));
    m_open->setFocusPolicy(Qt::StrongFocus);
    connect(m_open, &QAbstractButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_store.dataFolder())); });
    head->addWidget(m_title);
    head->addStretch(1);
    head->addWidget(m_open);
    body()->addLayout(head);
    m_detail = SettingsLabel::make(QString(), 11, QFont::Normal, Theme::muted(), this);
    m_detail->setWordWrap(true);
    body()->addWidget(m_detail);
    body()->addSpacing(8);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto* path = new PathLabel(this);
    path->setObjectName(QStringLiteral("dataFolderPath"));
    path->setFont(Theme::font(12, QFont::Medium));
    QPalette palette = path->palette();
    palette.setColor(QPalette::WindowText, Theme::ink());
    path->setPalette(palette);
    m_path = path;
    m_change = new OutlineButton(QString(), QString(), this);
    m_change->setObjectName(QStringLiteral("changeDataFolder"));
    connect(m_change, &QAbstractButton::clicked, this, &DataFolderCard::chooseFolder);
    row->addWidget(m_path, 1);
    row->addWidget(m_change, 0, Qt::AlignVCenter);
    body()->addLayout(row);

    connect(&m_store, &Store::languageChanged, this, &DataFolderCard::retranslate);
    connect(&m_store, &Store::dataFolderChanged, this, &DataFolderCard::showFolder);
    retranslate();
    showFolder();
}

void DataFolderCard::showFolder()
{
    static_cast<PathLabel*>(m_path)->setPath(QDir::toNativeSeparators(m_store.dataFolder()));
}

void DataFolderCard::chooseFolder()
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    const QString folder = m_picker(
        window(), m_store.tr(QStringLiteral("Choose a Data Folder"), QStringLiteral("Veri Klasörü Seçin")),
        m_store.dataFolder());
    if (folder.isEmpty())
        return;
    const QString chosen = QDir::cleanPath(QDir(folder).absolutePath());
    if (QDir(chosen) == QDir(m_store.dataFolder()) || !Store::holdsDataFile(chosen)) {
        m_store.changeDataFolder(chosen);
        return;
    }
    auto* box = new QMessageBox(window());
    box->setObjectName(QStringLiteral("dataFolderQuestion"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Question);
    const QString text = m_store.tr(QStringLiteral("This folder already holds a Tallybrook file."),
                                    QStringLiteral("Bu klasörde zaten bir Tallybrook dosyası var."));
    box->setWindowTitle(text);
    box->setText(text);
    box->setInformativeText(m_store.tr(
        QStringLiteral("Use that file, or replace it with the data in use here; a replaced file is "
                       "backed up first in that folder."),
        QStringLiteral("O dosyayı kullanın ya da buradaki verilerle değiştirin; değiştirilen dosya önce "
                       "o klasöre yedeklenir.")));
    QPushButton* use =
        box->addButton(m_store.tr(QStringLiteral("Use That File"), QStringLiteral("O Dosyayı Kullan")),
                       QMessageBox::AcceptRole);
    QPushButton* replace = box->addButton(
        m_store.tr(QStringLiteral("Replace It"), QStringLiteral("Değiştir")), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(m_store.tr(QStringLiteral("Cancel"), QStringLiteral("Vazgeç")),
                                         QMessageBox::RejectRole);
    use->setObjectName(QStringLiteral("useExistingFile"));
    replace->setObjectName(QStringLiteral("replaceExistingFile"));
    cancel->setObjectName(QStringLiteral("cancelDataFolder"));
    // Return takes the file that is there, which loses nothing; Escape changes nothing.
    box->setDefaultButton(use);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, use, replace, chosen](QAbstractButton* button) {
        if (button == use)
            m_store.changeDataFolder(chosen, Store::FolderChoice::useExisting);
        else if (button == replace)
            m_store.changeDataFolder(chosen, Store::FolderChoice::replace);
    });
    connect(box, &QDialog::finished, this, [this] { m_dialog = nullptr; });
    m_dialog = box;
    box->open();
}

QMessageBox* DataFolderCard::question() const
{
    return m_dialog;
}

void DataFolderCard::dismissQuestion()
{
    if (m_dialog)
        m_dialog->reject();
}

void DataFolderCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Data Folder"), QStringLiteral("Veri Klasörü")));
    m_detail->setText(m_store.tr(
        QStringLiteral("Where this computer keeps your data file and its backups. A folder a sync service "
                       "shares keeps it on your other computers too."),
        QStringLiteral("Bu bilgisayarın veri dosyanızı ve yedeklerini tuttuğu yer. Bir eşitleme hizmetinin "
                       "paylaştığı klasör, onu diğer bilgisayarlarınızda da tutar.")));
    m_open->setText(m_store.tr(QStringLiteral("Open Folder"), QStringLiteral("Klasörü Aç")));
    m_open->updateGeometry();
    m_change->setText(m_store.tr(QStringLiteral("Change…"), QStringLiteral("Değiştir…")));
    m_change->updateGeometry();
    m_path->setAccessibleDescription(m_title->text());
}
