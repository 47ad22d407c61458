#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

// For start-up measurements (bench/startup.py), called at a window's first paint event: once that
// whole frame is painted, tells the moment on CLOCK_MONOTONIC (the clock the script reads) and
// quits. The program, the minimal window and the text reference all end their start this way.
inline void reportFirstPaintAndQuit()
{
    QTimer::singleShot(0, qApp, [] {
        const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
        std::fprintf(stderr, "first-paint-ns %lld\n", ns);
        QCoreApplication::quit();
    });
}
