// A second reference for the start-up measurement (bench/startup.py): the minimal window of
// bench_startup_minimal, which also draws as much Inter text as Tallybrook's first frame -
// 104 runs of text in the 15 sizes and weights the board shows - and nothing else. Whatever
// this costs over the minimal window is spent by any program that shows that text with Qt and
// fontconfig, before a single widget, layout or shape of its own.
#include "app/FirstPaintReport.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {
struct Variant
{
    int pixelSize;
    QFont::Weight weight;
};

// The board's sizes and weights: cards, column heads, summary, stream controls, header, menu bar.
constexpr Variant kVariants[] = {
    {14, QFont::Bold},      {12, QFont::ExtraBold}, {11, QFont::Medium},    {10, QFont::DemiBold},
    {10, QFont::Bold},      {12, QFont::Bold},      {11, QFont::Bold},      {24, QFont::ExtraBold},
    {12, QFont::Medium},    {12, QFont::DemiBold},  {13, QFont::Normal},    {11, QFont::DemiBold},
    {10, QFont::ExtraBold}, {13, QFont::Bold},      {15, QFont::ExtraBold},
};
constexpr int kRuns = 104;

class TextWindow final : public QWidget
{
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xFA, 0xF8, 0xF5));
        p.setRenderHint(QPainter::TextAntialiasing);
        const QString texts[] = {QStringLiteral("Brand identity for Northwind"),
                                 QStringLiteral("$4,250"),
                                 QStringLiteral("Acme Studio"),
                                 QStringLiteral("Branding"),
                                 QStringLiteral("PENDING"),
                                 QStringLiteral("Net after tax")};
        for (int i = 0; i < kRuns; ++i) {
            const Variant& v = kVariants[i % std::size(kVariants)];
            QFont font(QStringLiteral("Inter"));
            font.setPixelSize(v.pixelSize);
            font.setWeight(v.weight);
            p.setFont(font);
            p.drawText(QPointF(24 + (i % 4) * 320, 30 + (i / 4) * 30), texts[i % std::size(texts)]);
        }
        if (!m_done) {
            m_done = true;
            reportFirstPaintAndQuit();
        }
    }

private:
    bool m_done = false;
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TextWindow window;
    window.resize(1320, 860);
    window.show();
    return app.exec();
}
