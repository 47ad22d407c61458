#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPointer>

class QColorDialog;

// A colour swatch button; clicking it opens the colour dialog (opaque colours only).
class ColorWell final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ColorWell(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    // The open dialog, or nullptr while none is shown.
    QColorDialog* dialog() const;

    QSize sizeHint() const override { return {44, 24}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The user confirmed a colour in the dialog.
    void colorPicked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openDialog();

    QColor m_color = Qt::white;
    QPointer<QColorDialog> m_dialog;
};
