#include "board/TaxRateBox.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "ui/Painters.h"
#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

TaxRateBox::TaxRateBox(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("taxBox"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(2);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("taxField"));
    m_field->setFrame(false);
    m_field->setAlignment(Qt::AlignCenter);
    m_field->setFont(Theme::font(12, QFont::Bold));
    m_field->setFixedWidth(26);
    m_field->setTextMargins(0, 0, 0, 0);
    m_field->setStyleSheet(
        QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    // The same words in both languages.
    m_field->setAccessibleName(QStringLiteral("Estimated tax rate"));

    m_percent = TextLabel::make(Theme::font(10, QFont::DemiBold), Theme::muted(), this);
    m_percent->setText(QStringLiteral("%"));

    row->addWidget(m_field);
    row->addWidget(m_percent);

    connect(m_field, &QLineEdit::editingFinished, this, &TaxRateBox::commit);
    // 26 pixels hold a whole percentage; a rate with decimals widens the field rather than
    // scrolling its first digits out of sight.
    connect(m_field, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int needed = m_field->fontMetrics().horizontalAdvance(text) + 6;
        m_field->setFixedWidth(std::max(26, needed));
    });
    connect(&m_store, &Store::dataChanged, this, &TaxRateBox::refresh);
    connect(&m_store, &Store::languageChanged, this, &TaxRateBox::retranslate);
    retranslate();
    refresh();
}

std::optional<double> TaxRateBox::parse(const QString& text)
{
    return L10n::parseNumber(text);
}

void TaxRateBox::refresh()
{
    if (m_field->hasFocus())
        return;
    const QString text = QLocale().toString(m_store.data().taxRate);
    if (m_field->text() != text)
        m_field->setText(text);
}

void TaxRateBox::commit()
{
    if (const auto rate = parse(m_field->text()))
        m_store.setTaxRate(*rate);
    // Shows what is stored now: the clamped value, or the old one after text that is no number.
    m_field->setText(QLocale().toString(m_store.data().taxRate));
}

void TaxRateBox::retranslate()
{
    m_field->setPlaceholderText(m_store.tr(QStringLiteral("Tax"), QStringLiteral("Vergi")));
}

void TaxRateBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Painters::roundedCard(p, QRectF(rect()), 8, Theme::cream(), Theme::border(), 1);
}
