#include "settings/SettingsView.h"

#include "model/Store.h"
#include "settings/BackupsCard.h"
#include "settings/ColumnColorsCard.h"
#include "settings/CurrencyCard.h"
#include "settings/DataFolderCard.h"
#include "settings/DeleteDataCard.h"
#include "settings/DirectoryCard.h"
#include "settings/ForecastCard.h"
#include "settings/LanguageCard.h"
#include "settings/PresenceCard.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int kGap = 24;
constexpr int kMinimumColumn = 340;

QVBoxLayout* column()
{
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kGap);
    return layout;
}
} // namespace

SettingsView::SettingsView(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("page_settings"));
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(kGap);

    // The cards are children of the page itself, so their shadows are not cut off at a column's edge.
    auto* leftLayout = column();
    m_clients = new DirectoryCard(store, DirectoryCard::clients(store), this);
    m_clients->setObjectName(QStringLiteral("clientsCard"));
    m_categories = new DirectoryCard(store, DirectoryCard::categories(store), this);
    m_categories->setObjectName(QStringLiteral("categoriesCard"));
    leftLayout->addWidget(m_clients);
    leftLayout->addWidget(m_categories);
    m_folder = new DataFolderCard(store, this);
    leftLayout->addWidget(m_folder);
    m_backups = new BackupsCard(store, this);
    leftLayout->addWidget(m_backups);
    leftLayout->addStretch(1);

    auto* rightLayout = column();
    m_language = new LanguageCard(store, this);
    m_colors = new ColumnColorsCard(store, this);
    m_presence = new PresenceCard(store, this);
    m_currency = new CurrencyCard(store, this);
    m_forecast = new ForecastCard(store, this);
    m_delete = new DeleteDataCard(store, this);
    for (QWidget* card : {static_cast<QWidget*>(m_language), static_cast<QWidget*>(m_colors),
                          static_cast<QWidget*>(m_presence), static_cast<QWidget*>(m_currency),
                          static_cast<QWidget*>(m_forecast), static_cast<QWidget*>(m_delete)})
        rightLayout->addWidget(card);
    rightLayout->addStretch(1);

    // Equal stretch and no width of their own: each column takes half of the page.
    columns->addLayout(leftLayout, 1);
    columns->addLayout(rightLayout, 1);
    for (QWidget* card : findChildren<PanelFrame*>(Qt::FindDirectChildrenOnly)) {
        QSizePolicy policy = card->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        card->setSizePolicy(policy);
    }
    setMinimumWidth(2 * kMinimumColumn + kGap);

    connect(&m_store.ui(), &UiState::tabChanged, this, &SettingsView::tabChanged);
}

void SettingsView::tabChanged()
{
    // Drafts, edits and the confirmation last only while the page is shown.
    if (m_store.ui().tab() == MainTab::settings) {
        m_backups->refresh();
        return;
    }
    m_backups->dismissConfirmation();
    m_folder->dismissQuestion();
    m_clients->discardLocalState();
    m_categories->discardLocalState();
    m_delete->dismissConfirmation();
}
