#pragma once

#include <QAbstractButton>

// A plain text button, underlined in its own colour (the Reset of the column colours).
class TextLinkButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TextLinkButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};
