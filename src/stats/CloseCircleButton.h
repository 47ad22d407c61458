#pragma once

#include <QAbstractButton>

// A small "xmark" in a cream circle that dismisses what it sits on.
class CloseCircleButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CloseCircleButton(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(24, 24); }

protected:
    void paintEvent(QPaintEvent* event) override;
};
