#pragma once

#include "ui/CapsuleButton.h"

// The soft red button that starts the erase: a trash symbol and a label on a pale red plate with
// rounded corners, and a red focus ring.
class DangerButton final : public CapsuleButton
{
    Q_OBJECT

public:
    explicit DangerButton(const QString& text, QWidget* parent = nullptr);

protected:
    Look look(bool pressed) const override;
};
