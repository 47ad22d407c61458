#pragma once

#include <QHash>
#include <QWidget>

class QVariantAnimation;
class Store;

// The small tip beside the tabs pointing at where sample data is erased. Clicking it opens the
// settings; its close button only hides it. Either way it stays closed for good.
class SampleTip final : public QWidget
{
    Q_OBJECT

public:
    explicit SampleTip(Store& store, QWidget* parent = nullptr);

    // The "dismissedSampleDataTip" preference.
    static bool isDismissed();
    // Closes the tip for good (stored), scaling it down with a fade.
    void dismiss();

    QRectF cardRect() const;
    QRectF closeButtonRect() const;

    // The whole text; narrower, the text is shortened with an ellipsis down to the minimum.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString text() const;
    // The text's width, measured once per text and font: the header asks for the hints on every
    // move and resize of its sides, and shaping the sentence is the costly part.
    int textWidth(const QString& text) const;
    void follow();
    void animateTo(qreal target);

    Store& m_store;
    QVariantAnimation* m_animation;
    qreal m_shown = 1;
    bool m_pressedClose = false;
    mutable QHash<QString, int> m_widths;
    mutable QString m_widthsFont;
};
