#pragma once

#include <QImage>
#include <QWidget>

// The brand logo scaled to a width, or the word "Tallybrook" when there is no image.
class LogoView final : public QWidget
{
    Q_OBJECT

public:
    explicit LogoView(int width, QWidget* parent = nullptr);
    // With its own image source (tests of the text fallback pass one giving a null image).
    LogoView(int width, const QImage& image, QWidget* parent = nullptr);

    // The shared logo from the resources, loaded once; null when unavailable.
    static const QImage& sharedImage();

    bool hasImage() const { return !m_image.isNull(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_width;
    QImage m_image;
    mutable QImage m_scaled;
};
