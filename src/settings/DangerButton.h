#pragma once

#include <QPushButton>

// The soft red button that starts the erase: a trash symbol and a label on a pale red plate.
class DangerButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit DangerButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
};
