#pragma once

#include "editor/FieldPlate.h"

#include <QMargins>
#include <optional>

class QLineEdit;

// A money input on a plate. Amounts are shown as whole numbers in the interface's money
// (stored amount × rate) and typed amounts are read back ÷ rate. A text the user leaves exactly as
// it was filled gives back the stored amount itself, so opening and saving never rounds or
// re-converts a fee.
class AmountField final : public FieldPlate
{
    Q_OBJECT

public:
    struct Look
    {
        QColor fill;
        QFont font;
        QMargins padding;
    };

    explicit AmountField(const Look& look, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    QString text() const;
    void setText(const QString& text);
    void setPlaceholder(const QString& text);

    // Shows `stored` × `rate` rounded to a whole number, or nothing when showAmount is false; either
    // way the stored amount is what an untouched field gives back.
    void fill(double stored, double rate, bool showAmount = true);
    // True when the text holds nothing but white space.
    bool isBlank() const;
    // The text gives an amount to store at `rate` (see amount()).
    bool isReadable(double rate) const;
    // The amount to store: the stored amount while the text is as filled, otherwise the typed
    // amount ÷ rate; nothing when the text is not an amount.
    std::optional<double> amount(double rate) const;

    // An amount as a whole number in the user's locale, without grouping.
    static QString wholeText(double amount);

signals:
    void textChanged(const QString& text);

private:
    QLineEdit* m_edit;
    std::optional<double> m_stored;
    QString m_filledText;
};
