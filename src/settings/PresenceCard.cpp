#include "settings/PresenceCard.h"

#include "model/PreferenceSignals.h"
#include "model/Preferences.h"
#include "model/Store.h"
#include "settings/SettingRow.h"
#include "settings/SettingsLabel.h"
#include "settings/SymbolView.h"
#include "settings/ToggleSwitch.h"
#include "ui/Theme.h"
#include "ui/TrayHost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kSymbolSize = 13;

bool shows(const char* key)
{
    // Anything but a stored boolean false counts as on.
    return Preferences::boolean(key, true);
}
} // namespace

PresenceCard::PresenceCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("presenceCard"));
    body()->setSpacing(12);
    m_title = SettingsLabel::make(QString(), 15, QFont::Bold, Theme::ink(), this);
    body()->addWidget(m_title);

    auto addRow = [this](const QString& symbol, QLabel*& label, ToggleSwitch*& toggle, const char* key) {
        auto* row = new SettingRow(this);
        auto* icon = new SymbolView(symbol, Theme::secondary(), kSymbolSize, QSize(16, 18), row);
        label = SettingsLabel::make(QString(), 12, QFont::DemiBold, Theme::ink(), row);
        toggle = new ToggleSwitch(row);
        toggle->setObjectName(QLatin1String(key));
        connect(toggle, &QAbstractButton::clicked, this, [this, key](bool on) { toggled(key, on); });
        row->content()->addWidget(icon, 0, Qt::AlignVCenter);
        row->content()->addWidget(label, 0, Qt::AlignVCenter);
        row->content()->addStretch(1);
        row->content()->addWidget(toggle, 0, Qt::AlignVCenter);
        body()->addWidget(row);
    };
    addRow(QStringLiteral("dock.rectangle"), m_dockLabel, m_dock, Preferences::kShowInDock);
    addRow(QStringLiteral("menubar.rectangle"), m_menuBarLabel, m_menuBar, Preferences::kShowInMenuBar);

    // The application may also change these (it turns the task-bar entry back on when the tray
    // icon goes away), so the switches follow the preferences rather than their own clicks.
    connect(PreferenceSignals::instance(), &PreferenceSignals::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Preferences::kShowInDock) ||
            key == QLatin1String(Preferences::kShowInMenuBar))
            refresh();
    });
    // Without a tray the tray icon cannot be the only way back, so the task-bar entry stays.
    connect(TrayHost::instance(), &TrayHost::availabilityChanged, this, &PresenceCard::refresh);
    connect(&m_store, &Store::languageChanged, this, &PresenceCard::retranslate);
    retranslate();
    refresh();
}

void PresenceCard::toggled(const char* key, bool on)
{
    const char* other =
        qstrcmp(key, Preferences::kShowInDock) == 0 ? Preferences::kShowInMenuBar : Preferences::kShowInDock;
    // Never neither: the last place left cannot be switched off.
    const bool lastPlace = !shows(other) || (!TrayHost::available() && key == Preferences::kShowInDock);
    if (on || !lastPlace)
        Preferences::setBoolean(key, on);
    refresh();
}

void PresenceCard::refresh()
{
    const bool dock = shows(Preferences::kShowInDock);
    const bool menuBar = shows(Preferences::kShowInMenuBar);
    m_dock->setChecked(dock);
    m_menuBar->setChecked(menuBar);
    const bool tray = TrayHost::available();
    m_dock->setEnabled(!(dock && (!menuBar || !tray)));
    m_menuBar->setEnabled(!(menuBar && !dock));
    m_dock->setToolTip(dock && !tray ? m_store.tr(QStringLiteral("This desktop has no system tray, so "
                                                                 "Tallybrook keeps its task-bar entry."),
                                                  QStringLiteral("Bu masaüstünde sistem tepsisi olmadığından "
                                                                 "Tallybrook görev çubuğunda kalır."))
                                     : QString());
}

void PresenceCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("App Presence"), QStringLiteral("Uygulama Görünürlüğü")));
    m_dockLabel->setText(m_store.tr(QStringLiteral("Show in Dock"), QStringLiteral("Dock'ta Göster")));
    m_menuBarLabel->setText(
        m_store.tr(QStringLiteral("Show in Menu Bar"), QStringLiteral("Menü Çubuğunda Göster")));
    m_dock->setAccessibleName(m_dockLabel->text());
    m_menuBar->setAccessibleName(m_menuBarLabel->text());
    refresh();
}
