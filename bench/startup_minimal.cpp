// The baseline of the start-up measurement (bench/startup.py): the smallest Qt Widgets program
// that shows one empty window of the main window's size and quits after its first paint.
#include "app/FirstPaintReport.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {
class FirstPaint final : public QWidget
{
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            reportFirstPaintAndQuit();
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
