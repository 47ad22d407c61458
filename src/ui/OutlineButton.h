#pragma once

#include "ui/CapsuleButton.h"

// The light secondary button: secondary text on a white capsule with a border outline.
class OutlineButton final : public CapsuleButton
{
    Q_OBJECT

public:
    explicit OutlineButton(const QString& text, const QString& symbol = {}, QWidget* parent = nullptr);

protected:
    Look look(bool pressed) const override;
};
