// The baseline of the start-up measurement (bench/startup.py): the smallest Qt Widgets program
// that shows one empty window of the main window's size and quits after its first paint.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {
// As the program measured: the moment the first frame is painted, on the clock bench/startup.py reads.
long long firstPaintClock()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class FirstPaint final : public QWidget
{
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, [] {
                std::fprintf(stderr, "first-paint-ns %lld\n", firstPaintClock());
                QCoreApplication::quit();
            });
        }
        return QWidget::event(e);
    }

private:
    bool m_done = false;
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaint window;
    window.resize(1320, 860);
    window.show();
    return app.exec();
}
