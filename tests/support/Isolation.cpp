#include "Isolation.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <clocale>
#include <cstdio>

namespace Isolation {

namespace {

void setUnlessSet(const char* name, const QByteArray& value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

QLocale testLocale()
{
    return systemLocaleRun() ? QLocale::system() : QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace

const QTemporaryDir& home()
{
    static const QTemporaryDir dir;
    return dir;
}

bool isolate(Extras extras)
{
    if (!home().isValid()) {
        std::fprintf(stderr, "could not make a temporary folder: %s\n", qPrintable(home().errorString()));
        return false;
    }
    const QString base = home().path();
    const QString runtime = base + QStringLiteral("/run");
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime,
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        std::fprintf(stderr, "could not make the runtime folder %s\n", qPrintable(runtime));
        return false;
    }
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + QStringLiteral("/cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    setUnlessSet("TALLYBROOK_RATE_URL", kDeadRateUrl);
    if (extras.testFlag(Extra::fixedZone))
        setUnlessSet("TZ", "Europe/Istanbul");
    if (extras.testFlag(Extra::offscreen))
        setUnlessSet("QT_QPA_PLATFORM", "offscreen");
    return true;
}

void fixLocale()
{
    QLocale::setDefault(testLocale());
    if (!systemLocaleRun())
        return;
    const QByteArray wanted = qgetenv("TB_SYSTEM_LOCALE");
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || wanted != numeric)
        qFatal("The C library did not load the locale %s (it has %s): compile it with tools/locales.sh "
               "and set LOCPATH",
               wanted.constData(), numeric ? numeric : "none");
}

void restoreLocale()
{
    QLocale::setDefault(testLocale());
}

bool systemLocaleRun()
{
    return !qEnvironmentVariableIsEmpty("TB_SYSTEM_LOCALE");
}

} // namespace Isolation
