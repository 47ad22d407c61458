#include "settings/SettingsLabel.h"

#include "ui/Theme.h"

#include <QLabel>

namespace SettingsLabel {

QLabel* make(const QString& text, int pixelSize, QFont::Weight weight, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(Theme::font(pixelSize, weight));
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace SettingsLabel
