// A second reference for the start-up measurement (bench/startup.py): the minimal window of
// bench_startup_minimal, at the size of Tallybrook's window, which also draws the text of its
// first frame - each run in its font at its place, as bench_first_frame_text wrote them down -
// and nothing else.
// Whatever this costs over the minimal window is spent by any program that shows that text with
// Qt and fontconfig, before a single widget, layout or shape of its own.
//
// Usage: bench_startup_text TEXT_LIST
#include "app/FirstPaintReport.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <vector>

namespace {
struct Run
{
    QFont font;
    QPointF at;
    QString text;
};

class TextWindow final : public QWidget
{
public:
    explicit TextWindow(std::vector<Run> runs) : m_runs(std::move(runs)) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xFA, 0xF8, 0xF5));
        p.setRenderHint(QPainter::TextAntialiasing);
        for (const Run& run : m_runs) {
            p.setFont(run.font);
            p.drawText(run.at, run.text);
        }
        if (!m_done) {
            m_done = true;
            reportFirstPaintAndQuit();
        }
    }

private:
    std::vector<Run> m_runs;
    bool m_done = false;
};

// The window's size ("size", width, height), then lines of font (QFont::toString), x, y and
// text, tab-separated.
bool readRuns(const QString& path, QSize* size, std::vector<Run>* runs)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3 && fields[0] == "size") {
            *size = QSize(fields[1].toInt(), fields[2].toInt());
            continue;
        }
        if (fields.size() != 4)
            continue;
        Run run;
        if (!run.font.fromString(QString::fromUtf8(fields[0])))
            return false;
        run.at = QPointF(fields[1].toDouble(), fields[2].toDouble());
        run.text = QString::fromUtf8(fields[3]);
        runs->push_back(std::move(run));
    }
    return !runs->empty();
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::vector<Run> runs;
    QSize size;
    if (argc != 2 || !readRuns(QString::fromLocal8Bit(argv[1]), &size, &runs) || size.isEmpty()) {
        std::fprintf(stderr, "usage: %s TEXT_LIST (written by bench_first_frame_text)\n", argv[0]);
        return 2;
    }
    TextWindow window(std::move(runs));
    window.resize(size);
    window.show();
    return app.exec();
}
