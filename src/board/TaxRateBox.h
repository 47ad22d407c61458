#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class Store;

// The inline tax-rate field with its "%" on a small cream box. It shows the document's tax
// rate in the locale's number format; a committed entry (Return or leaving the field) goes to the
// Store, which keeps it within 0..100; text that is not a number falls back to the stored rate.
class TaxRateBox final : public QWidget
{
    Q_OBJECT

public:
    explicit TaxRateBox(Store& store, QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    // The rate a committed text asks for (the Store keeps it within 0..100), or nothing when it is
    // not a number.
    static std::optional<double> parse(const QString& text);
    // Shows the stored rate unless the user is typing.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void commit();
    void retranslate();

    Store& m_store;
    QLineEdit* m_field;
    QLabel* m_percent;
};
