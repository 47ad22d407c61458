#include "editor/AmountField.h"

#include "model/Amount.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <cmath>

AmountField::AmountField(const Look& look, QWidget* parent)
    : FieldPlate(12, look.fill, Theme::border(), parent), m_edit(plainLineEdit(look.font, this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(look.padding);
    row->setSpacing(0);
    row->addWidget(m_edit);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &AmountField::textChanged);
}

QString AmountField::text() const
{
    return m_edit->text();
}

void AmountField::setText(const QString& text)
{
    m_edit->setText(text);
}

void AmountField::setPlaceholder(const QString& text)
{
    m_edit->setPlaceholderText(text);
}

void AmountField::fill(double stored, double rate, bool showAmount)
{
    m_stored = stored;
    m_filledText = showAmount ? wholeText(stored * rate) : QString();
    m_edit->setText(m_filledText);
}

bool AmountField::isBlank() const
{
    return m_edit->text().trimmed().isEmpty();
}

bool AmountField::isReadable(double rate) const
{
    return amount(rate).has_value();
}

std::optional<double> AmountField::amount(double rate) const
{
    return Amount::fromField(m_edit->text(), m_filledText, m_stored, rate);
}

QString AmountField::wholeText(double amount)
{
    if (!std::isfinite(amount))
        return {};
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // Halves away from zero; the locale only writes the digits.
    const double whole = std::round(amount);
    return locale.toString(whole == 0 ? 0.0 : whole, 'f', 0);
}
