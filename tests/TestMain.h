#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#if __has_include(<QApplication>)
#include <QApplication>
#endif

// Every test process gets its own data and preference folders, a fixed locale and
// time zone, so no test touches the user's real files.
namespace TestEnv {
inline QTemporaryDir& home()
{
    static QTemporaryDir dir;
    return dir;
}
inline void prepare()
{
    qputenv("XDG_DATA_HOME", (home().path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home().path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home().path() + QStringLiteral("/run")).toUtf8());
    QDir().mkpath(home().path() + QStringLiteral("/run"));
    QFile::setPermissions(home().path() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "Europe/Istanbul");
    if (qEnvironmentVariableIsEmpty("TALLYBROOK_RATE_URL"))
        qputenv("TALLYBROOK_RATE_URL", "http://127.0.0.1:9/v6/latest/USD");
}
inline void settle()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
} // namespace TestEnv

#define TB_TEST_MAIN(TestObject)                                                                             \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        TestEnv::prepare();                                                                                  \
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
        TestEnv::prepare();                                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                         \
        QApplication app(argc, argv);                                                                        \
        TestEnv::settle();                                                                                   \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
