// Writes down the text of the program's first frame, for the text reference of the start-up
// measurement (bench_startup_text): the program starts as usual, and once its main window has
// painted, the window is drawn again into a device that keeps only the text runs, each with its
// font and place. The first line gives the window's size ("size", width, height), then one line
// per run: the font (QFont::toString), x, y, the text; tab-separated.
//
// Usage: bench_first_frame_text OUTPUT (with the environment of the measured start)
#include "app/TallybrookApp.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

namespace {

class TextRecorder final : public QPaintEngine
{
public:
    TextRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QStringList runs;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override
    {
        if (changed.state() & QPaintEngine::DirtyTransform)
            m_transform = changed.transform();
    }
    // Everything but text is left out.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawEllipse(const QRect&) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawPoints(const QPoint*, int) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        QString text = item.text();
        text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (text.trimmed().isEmpty())
            return;
        const QPointF p = m_transform.map(at);
        runs << QStringLiteral("%1\t%2\t%3\t%4").arg(item.font().toString()).arg(p.x()).arg(p.y()).arg(text);
    }
    Type type() const override { return QPaintEngine::User; }

private:
    QTransform m_transform;
};

class TextDevice final : public QPaintDevice
{
public:
    explicit TextDevice(QSize size) : m_size(size) {}
    TextRecorder recorder;
    QPaintEngine* paintEngine() const override { return const_cast<TextRecorder*>(&recorder); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    QSize m_size;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    qunsetenv("TALLYBROOK_QUIT_AFTER_FIRST_PAINT");
    int args = 1;
    return TallybrookApp::run(args, argv, [&output](TallybrookApp& app) {
        // Well after the first frame: what it drew is settled, and nothing of it is animating.
        QTimer::singleShot(500, &app, [&app, output] {
            MainWindow* window = app.mainWindow();
            TextDevice device(window ? window->size() : QSize());
            if (window)
                window->render(&device);
            QFile file(output);
            if (!window || device.recorder.runs.isEmpty() ||
                !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                std::fprintf(stderr, "bench_first_frame_text: nothing written\n");
                QCoreApplication::exit(1);
                return;
            }
            QTextStream(&file) << "size\t" << window->width() << '\t' << window->height() << '\n'
                               << device.recorder.runs.join(QLatin1Char('\n')) << '\n';
            file.close();
            QCoreApplication::quit();
        });
    });
}
