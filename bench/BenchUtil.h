#pragma once

#include "Isolation.h"
#include "RatioReporter.h"
#include "model/Store.h"
#include "ui/Animations.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>

namespace BenchUtil {

// A Store of its own in a temporary folder and a 1320 x 860 scrolling window to show a page in.
struct Page
{
    QTemporaryDir dir;
    Store store{dir.path(), true};
    QScrollArea window;

    // Returns once the platform has exposed the window and the content is laid out.
    void show(QWidget* content)
    {
        window.setWidgetResizable(true);
        window.setWidget(content);
        window.resize(1320, 860);
        window.show();
        // Nothing is painted until the platform has exposed the window.
        while (!window.windowHandle()->isExposed())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        settle();
    }

    void settle()
    {
        // Layout requests cascade upwards one level per round.
        for (int i = 0; i < 6; ++i)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
};

// The benchmarks' main: offscreen unless told otherwise, no network, no animations, the light
// look, and preferences kept in a temporary folder. With a ratio reporter, the run ends with its
// ratio.
inline int run(int argc, char** argv, RatioReporter* ratio = nullptr)
{
    if (!Isolation::isolate(Isolation::Extra::offscreen))
        return 1;
    QApplication app(argc, argv);
    Theme::applyLightLook(app);
    Animations::setEnabled(false);
    if (ratio)
        return ratio->runAll(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchUtil
