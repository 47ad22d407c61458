#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
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
// Called after the application object exists, which has set the C library's locale from the
// environment. A run under a system locale (TB_SYSTEM_LOCALE) keeps that locale for Qt too and
// stops at once if the C library could not load it: a silent fall-back to "C" would hide
// exactly the faults those runs are for. Other runs format as en_US.
inline void settle()
{
    const QByteArray wanted = qgetenv("TB_SYSTEM_LOCALE");
    if (wanted.isEmpty()) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return;
    }
    QLocale::setDefault(QLocale::system());
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || wanted != numeric)
        qFatal("The C library did not load the locale %s (it has %s): compile it with tools/locales.sh "
               "and set LOCPATH",
               wanted.constData(), numeric ? numeric : "none");
}
// Undoes a test's own QLocale::setDefault.
inline void restoreLocale()
{
    QLocale::setDefault(qEnvironmentVariableIsEmpty("TB_SYSTEM_LOCALE")
                            ? QLocale(QLocale::English, QLocale::UnitedStates)
                            : QLocale::system());
}
inline bool systemLocaleRun()
{
    return !qEnvironmentVariableIsEmpty("TB_SYSTEM_LOCALE");
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
