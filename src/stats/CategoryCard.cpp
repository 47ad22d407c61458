#include "stats/CategoryCard.h"

#include "model/Store.h"
#include "stats/CategoryDetailSheet.h"
#include "stats/CategoryPopover.h"
#include "stats/CategoryRowsView.h"
#include "stats/ShowAllButton.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kShowAllFrom = 6;

} // namespace

CategoryCard::CategoryCard(Store& store, Breakdown::Kind kind, QWidget* parent)
    : QWidget(parent), m_store(store), m_kind(kind),
      m_title(TextLabel::make(Theme::font(15, QFont::Bold), Theme::ink(), this)),
      m_subtitle(TextLabel::make(Theme::font(12), Theme::muted(), this)),
      m_rows(new CategoryRowsView(store, kind, this)), m_divider(new QWidget(this)),
      m_showAll(new ShowAllButton(this))
{
    const bool payers = kind == Breakdown::Kind::daysToPay;
    setObjectName(payers ? QStringLiteral("payersCard") : QStringLiteral("categoryCard"));
    m_title->setObjectName(payers ? QStringLiteral("payersTitle") : QStringLiteral("categoryTitle"));
    m_subtitle->setObjectName(payers ? QStringLiteral("payersSubtitle") : QStringLiteral("categorySubtitle"));
    m_subtitle->setWordWrap(true);
    m_showAll->setObjectName(payers ? QStringLiteral("showAllPayers") : QStringLiteral("showAllCategories"));
    if (payers)
        m_rows->setObjectName(QStringLiteral("payerRows"));
    m_showAll->setEnabled(false);
    m_divider->setFixedHeight(1);
    m_divider->setAutoFillBackground(true);
    QPalette line = m_divider->palette();
    line.setColor(QPalette::Window, Theme::border());
    m_divider->setPalette(line);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 8, 0, 0);
    footer->addStretch(1);
    footer->addWidget(m_showAll);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(m_title);
    column->addWidget(m_subtitle);
    column->addWidget(m_rows);
    column->addWidget(m_divider);
    column->addLayout(footer);
    column->addStretch(1);

    connect(m_showAll, &QAbstractButton::clicked, this, [this] { setShowAllCategories(true); });
    connect(&store, &Store::languageChanged, this, &CategoryCard::retranslate);
    retranslate();
}

void CategoryCard::setCategories(const QVector<NamedTotal>& categories, double gross)
{
    m_categories = categories;
    m_gross = gross;
    m_rows->setCategories(categories, gross);
    m_showAll->setEnabled(categories.size() >= kShowAllFrom);
    if (m_popover)
        m_popover->sheet()->setCategories(categories, gross);
}

bool CategoryCard::showAllCategories() const
{
    return !m_popover.isNull();
}

CategoryPopover* CategoryCard::popover() const
{
    return m_popover.data();
}

void CategoryCard::setShowAllCategories(bool show)
{
    if (show == showAllCategories())
        return;
    if (!show) {
        m_popover->close();
        return;
    }
    if (!m_showAll->isEnabled())
        return;
    m_popover = new CategoryPopover(m_store, m_kind, m_categories, m_gross, this);
    connect(m_popover, &CategoryPopover::closed, this, [this] {
        if (m_popover)
            m_popover->deleteLater();
        m_popover = nullptr;
    });
    m_popover->openBelow(m_showAll);
}

QString CategoryCard::title() const
{
    return m_title->text();
}

QString CategoryCard::subtitle() const
{
    return m_subtitle->text();
}

void CategoryCard::retranslate()
{
    m_title->setText(Breakdown::title(m_store, m_kind));
    m_subtitle->setText(Breakdown::subtitle(m_store, m_kind));
    m_showAll->setText(m_store.tr(QStringLiteral("Show All"), QStringLiteral("Tümünü Göster")));
    m_showAll->updateGeometry();
}
