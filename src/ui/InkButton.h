#pragma once

#include "ui/CapsuleButton.h"

// The dark primary button: white text on an ink capsule, black and slightly smaller while pressed.
class InkButton final : public CapsuleButton
{
    Q_OBJECT

public:
    explicit InkButton(const QString& text, const QString& symbol = {}, QWidget* parent = nullptr);

protected:
    Look look(bool pressed) const override;
};
