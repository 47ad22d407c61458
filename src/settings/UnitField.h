#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// A small number field with its unit after it ("90 %", "30 d") on a cream rounded plate. It only
// holds the text: its owner reads the number (L10n::parseNumber) when an entry is committed.
class UnitField final : public QWidget
{
    Q_OBJECT

public:
    // `digits`: how many characters the field shows without scrolling.
    explicit UnitField(int digits, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    QLabel* unitLabel() const { return m_unit; }
    void setUnit(const QString& unit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* m_edit;
    QLabel* m_unit;
};
