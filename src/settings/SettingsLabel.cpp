#include "settings/SettingsLabel.h"

#include "ui/TextLabel.h"
#include "ui/Theme.h"

#include <QLabel>

namespace SettingsLabel {

QLabel* make(const QString& text, int pixelSize, QFont::Weight weight, const QColor& color, QWidget* parent)
{
    QLabel* label = TextLabel::make(Theme::font(pixelSize, weight), color, parent);
    label->setText(text);
    return label;
}

} // namespace SettingsLabel
