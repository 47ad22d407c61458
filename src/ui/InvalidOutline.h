#pragma once

#include <QWidget>

// The rose outline that marks an input field holding an unusable value.
class InvalidOutline final : public QWidget
{
    Q_OBJECT

public:
    explicit InvalidOutline(QWidget* field);

    // The overlay of a field, or nullptr when it has none yet.
    static InvalidOutline* of(const QWidget* field);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows or hides the outline and sets the field's accessible description accordingly.
void setInvalid(QWidget* field, bool invalid);
bool isInvalid(const QWidget* field);
