#pragma once

#include <QPointer>
#include <QUuid>
#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QMouseEvent;
class QPushButton;
class QShortcut;
class QVariantAnimation;
class QWheelEvent;
class Store;

// The Store's toast in the bottom-right corner of its parent: check mark, message and, for a
// deletion, Undo. Every new toast slides up and fades in afresh; it leaves the same way.
class ToastView final : public QWidget
{
    Q_OBJECT

public:
    // Places itself over `parent`, 24 pixels from its bottom-right corner.
    explicit ToastView(Store& store, QWidget* parent);

    QUuid toastId() const { return m_id; }
    QString message() const;
    QPushButton* undoButton() const { return m_undo; }
    // Ctrl+Z while the toast offers Undo.
    QShortcut* undoKey() const { return m_undoKey; }
    // True from the arrival of a toast until it has left.
    bool isPresent() const { return !m_id.isNull(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toastChanged();
    void announce(const QString& text);
    void retranslate();
    void reposition();
    void animate(bool in);
    QWidget* widgetBeneath(const QPointF& globalPos);
    void passOn(QMouseEvent* event);
    void passOn(QWheelEvent* event);

    Store& m_store;
    QUuid m_id;
    QLabel* m_check;
    QLabel* m_message;
    QPushButton* m_undo;
    QShortcut* m_undoKey;
    QGraphicsOpacityEffect* m_opacity;
    QVariantAnimation* m_animation;
    qreal m_progress = 0;
    // Where a press that fell on the toast went, so its release and moves follow it.
    QPointer<QWidget> m_pressedBeneath;
};
