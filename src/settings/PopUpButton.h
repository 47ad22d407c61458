#pragma once

#include <QComboBox>

// A pop-up menu drawn in the page's look: a white capsule with the chosen label and an up-down
// chevron. With nothing chosen it shows only the chevron. Only a click or the keyboard chooses: the
// wheel scrolls the page beneath it.
class PopUpButton final : public QComboBox
{
    Q_OBJECT

public:
    explicit PopUpButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
