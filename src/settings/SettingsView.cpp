#include "settings/SettingsView.h"

#include "model/Store.h"
#include "settings/ColumnColorsCard.h"
#include "settings/CurrencyCard.h"
#include "settings/DeleteDataCard.h"
#include "settings/DirectoryCard.h"
#include "settings/LanguageCard.h"
#include "settings/PresenceCard.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int kGap = 24;
constexpr int kMinimumColumn = 340;

QVBoxLayout* column(QWidget* host)
{
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kGap);
    // Both columns take exactly half of the width, whatever their content asks for.
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHorizontalStretch(1);
    host->setSizePolicy(policy);
    host->setMinimumWidth(kMinimumColumn);
    return layout;
}
} // namespace

SettingsView::SettingsView(Store* store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("page_settings"));
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(kGap);

    auto* left = new QWidget(this);
    auto* leftLayout = column(left);
    m_clients = new DirectoryCard(store, DirectoryCard::clients(store), left);
    m_clients->setObjectName(QStringLiteral("clientsCard"));
    m_categories = new DirectoryCard(store, DirectoryCard::categories(store), left);
    m_categories->setObjectName(QStringLiteral("categoriesCard"));
    leftLayout->addWidget(m_clients);
    leftLayout->addWidget(m_categories);
    leftLayout->addStretch(1);

    auto* right = new QWidget(this);
    auto* rightLayout = column(right);
    m_language = new LanguageCard(store, right);
    m_colors = new ColumnColorsCard(store, right);
    m_presence = new PresenceCard(store, right);
    m_currency = new CurrencyCard(store, right);
    m_delete = new DeleteDataCard(store, right);
    for (QWidget* card : {static_cast<QWidget*>(m_language), static_cast<QWidget*>(m_colors),
                          static_cast<QWidget*>(m_presence), static_cast<QWidget*>(m_currency),
                          static_cast<QWidget*>(m_delete)})
        rightLayout->addWidget(card);
    rightLayout->addStretch(1);

    columns->addWidget(left, 1, Qt::AlignTop);
    columns->addWidget(right, 1, Qt::AlignTop);

    connect(m_store, &Store::tabChanged, this, &SettingsView::tabChanged);
}

void SettingsView::tabChanged()
{
    // Drafts, edits and the confirmation last only while the page is shown.
    if (m_store->tab() == MainTab::settings)
        return;
    m_clients->discardLocalState();
    m_categories->discardLocalState();
    m_delete->dismissConfirmation();
}
