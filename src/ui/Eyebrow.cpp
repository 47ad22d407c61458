#include "ui/Eyebrow.h"

#include "i18n/L10n.h"
#include "model/Store.h"
#include "ui/Theme.h"

Eyebrow::Eyebrow(const QString& text, const QColor& color, Store* store, QWidget* parent)
    : QLabel(parent), m_text(text), m_color(color), m_store(store)
{
    setFont(Theme::font(11, QFont::Bold, 0.6));
    setTextFormat(Qt::PlainText);
    setColor(color);
    if (store)
        connect(store, &Store::languageChanged, this, &Eyebrow::refresh);
    refresh();
}

void Eyebrow::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    refresh();
}

void Eyebrow::setColor(const QColor& color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

void Eyebrow::refresh()
{
    const AppLanguage language = m_store ? m_store->language() : AppLanguage::en;
    QLabel::setText(L10n::upper(language, m_text));
}
