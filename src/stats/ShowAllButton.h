#pragma once

#include <QAbstractButton>

// A plain brand-coloured text button with a trailing chevron; half transparent when disabled.
class ShowAllButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ShowAllButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The opacity it is drawn with in its current state.
    qreal drawnOpacity() const { return isEnabled() ? 1.0 : 0.5; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
