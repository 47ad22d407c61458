#pragma once

#include <QLabel>
#include <QPointer>

class Store;

// A small upper-case section label; Turkish casing when the store's language is Turkish.
class Eyebrow final : public QLabel
{
    Q_OBJECT

public:
    Eyebrow(const QString& text, const QColor& color, Store* store = nullptr, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString sourceText() const { return m_text; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }

private:
    void refresh();

    QString m_text;
    QColor m_color;
    // Optional: plain labels have no store, and one that goes first leaves a label that works.
    QPointer<Store> m_store;
};
