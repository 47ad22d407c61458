#include "settings/CurrencyCard.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "settings/IconBadge.h"
#include "settings/PopUpButton.h"
#include "settings/SettingsLabel.h"
#include "ui/Theme.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

CurrencyCard::CurrencyCard(Store& store, QWidget* parent) : PanelFrame(24, 24, parent), m_store(store)
{
    setObjectName(QStringLiteral("currencyCard"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    m_title = SettingsLabel::make(QString(), 13, QFont::Bold, Theme::ink(), this);
    m_menu = new PopUpButton(this);
    m_menu->setObjectName(QStringLiteral("currencyMenu"));
    m_menu->setFixedWidth(130);
    for (const Currency::Code& c : Currency::all())
        m_menu->addItem(c.label, c.code);
    connect(m_menu, &QComboBox::activated, this, &CurrencyCard::choose);
    row->addWidget(new IconBadge(QStringLiteral("dollarsign.circle"), this), 0, Qt::AlignVCenter);
    row->addWidget(m_title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_menu, 0, Qt::AlignVCenter);
    body()->addLayout(row);

    connect(&m_store, &Store::dataChanged, this, &CurrencyCard::refresh);
    connect(&m_store, &Store::languageChanged, this, &CurrencyCard::retranslate);
    retranslate();
    refresh();
}

void CurrencyCard::choose(int index)
{
    if (index < 0 || index >= m_menu->count())
        return;
    const QString code = m_menu->itemData(index).toString();
    if (code == m_store.data().currency) {
        refresh();
        return; // nothing changes, so nothing to confirm or save
    }
    m_store.setCurrency(code);
}

void CurrencyCard::refresh()
{
    // A code outside the list selects nothing.
    m_menu->setCurrentIndex(m_menu->findData(m_store.data().currency));
}

void CurrencyCard::retranslate()
{
    m_title->setText(m_store.tr(QStringLiteral("Choose Currency"), QStringLiteral("Para Birimi")));
    m_menu->setAccessibleName(m_store.tr(QStringLiteral("Currency"), QStringLiteral("Para Birimi")));
}
