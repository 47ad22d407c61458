#pragma once

#include "Isolation.h"

#include <QLocale>
#include <QtTest>
#if __has_include(<QApplication>)
#include <QApplication>
#endif

// Every test process gets its own data, preference, cache and runtime folders, a closed
// network, a fixed time zone and locale (tests/support), so no test touches the user's files.
namespace TestEnv {
using Isolation::home;
using Isolation::restoreLocale;
using Isolation::systemLocaleRun;
inline void settle()
{
    Isolation::fixLocale();
}
// A number text as en_US writes it, as the run's locale writes it: German and Turkish swap
// the decimal mark and the group separator.
inline QString localized(const QString& enUS)
{
    if (QLocale().decimalPoint() != QLatin1String(","))
        return enUS;
    QString out = enUS;
    for (QChar& c : out) {
        if (c == QLatin1Char(','))
            c = QLatin1Char('.');
        else if (c == QLatin1Char('.'))
            c = QLatin1Char(',');
    }
    return out;
}
// The expected text for the run's locale language (English for C and en_US).
inline QString pick(const char* en, const char* de, const char* tr)
{
    switch (QLocale().language()) {
    case QLocale::German:
        return QString::fromUtf8(de);
    case QLocale::Turkish:
        return QString::fromUtf8(tr);
    default:
        return QString::fromUtf8(en);
    }
}
} // namespace TestEnv

#define TB_TEST_MAIN(TestObject)                                                                             \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        if (!Isolation::isolate(Isolation::Extra::fixedZone))                                                \
            return 1;                                                                                        \
        QCoreApplication app(argc, argv);                                                                    \
        TestEnv::settle();                                                                                   \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

// Widget tests: the same isolation, with a QApplication (offscreen platform from CTest).
#define TB_WIDGET_TEST_MAIN(TestObject)                                                                      \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        if (!Isolation::isolate(Isolation::Extra::fixedZone | Isolation::Extra::offscreen))                  \
            return 1;                                                                                        \
        QApplication app(argc, argv);                                                                        \
        TestEnv::settle();                                                                                   \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
