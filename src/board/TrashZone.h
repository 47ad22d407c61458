#pragma once

#include <QPointer>
#include <QWidget>

class SpringAnimation;
class Store;
class TrashHalo;

// The round trash target of the board controls. Dropped text goes to Store::handleTrashDrop.
// While a drag is over it the circle deepens, glows and grows to 1.15 with a spring; since that
// reaches past its 40-pixel frame, the drawing is done by a halo widget placed over it in the
// nearest ancestor that has room (the scrolling page), so the glow is not cut off.
class TrashZone final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSize = 40;
    static constexpr qreal kTargetedScale = 1.15;

    explicit TrashZone(Store& store, QWidget* parent = nullptr);
    ~TrashZone() override;

    bool targeted() const { return m_targeted; }
    // 0 at rest, 1 targeted; a spring may pass 1 briefly.
    qreal progress() const { return m_progress; }
    qreal scale() const { return 1 + (kTargetedScale - 1) * m_progress; }
    // Colours now drawn (tests).
    QColor symbolColor() const;
    QColor fillColor() const;
    QColor outlineColor() const;
    QColor glowColor() const;

    // Draws the zone centred on `center` (used by the halo, or by the zone itself without one).
    void paintZone(QPainter& p, const QPointF& center) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setTargeted(bool targeted);
    void retranslate();
    void attachHalo();
    void placeHalo();

    Store& m_store;
    bool m_targeted = false;
    qreal m_progress = 0;
    SpringAnimation* m_spring;
    QPointer<TrashHalo> m_halo;
    QVector<QPointer<QWidget>> m_watched;
};
