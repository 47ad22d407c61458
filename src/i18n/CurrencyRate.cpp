#include "i18n/CurrencyRate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <cmath>
#include <dlfcn.h>

namespace CurrencyRate {

namespace {
double g_usdToTry = kInitialUsdToTry;
int g_timeoutMs = kDefaultTimeoutMs;

// The request's module (see RateRequest.cpp): beside the program in its build folder, in
// lib/tallybrook of the prefix it is installed under, or where it was built (tests).
using RequestFunction = QObject* (*)(const QUrl&, int, qint64, void (*)(const QByteArray&));

RequestFunction requestFunction()
{
    static const RequestFunction found = []() -> RequestFunction {
        const QString name = QStringLiteral("libtallybrook_rate.so");
        const QString program =
            QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
        QStringList places;
        if (!program.isEmpty())
            places << program << program + QStringLiteral("/../lib/tallybrook");
        places << QStringLiteral(TALLYBROOK_MODULE_DIR);
        for (const QString& place : places) {
            const QString path = QDir(place).absoluteFilePath(name);
            if (!QFileInfo::exists(path))
                continue;
            // Kept loaded for the rest of the process: its replies may outlive any caller.
            if (void* module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL))
                if (void* entry = ::dlsym(module, "tallybrookRateRequest"))
                    return reinterpret_cast<RequestFunction>(entry);
        }
        return nullptr;
    }();
    return found;
}
} // namespace

double usdToTry()
{
    return g_usdToTry;
}

bool plausible(double rate)
{
    return std::isnormal(rate) && rate >= kMinUsdToTry && rate <= kMaxUsdToTry;
}

bool setUsdToTry(double rate)
{
    if (!plausible(rate))
        return false;
    if (rate != g_usdToTry) {
        g_usdToTry = rate;
        emit notifier()->changed();
    }
    return true;
}

RateNotifier* notifier()
{
    static RateNotifier instance;
    return &instance;
}

std::optional<double> parseAnswer(const QByteArray& body)
{
    if (body.isEmpty())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonValue rates = doc.object().value(QStringLiteral("rates"));
    if (!rates.isObject())
        return std::nullopt;
    const QJsonValue rate = rates.toObject().value(QStringLiteral("TRY"));
    if (!rate.isDouble())
        return std::nullopt;
    const double value = rate.toDouble();
    if (!plausible(value))
        return std::nullopt;
    return value;
}

void setTimeoutMs(int ms)
{
    g_timeoutMs = ms;
}

void fetchLiveRate()
{
    startRequest();
}

QObject* startRequest()
{
    if (!QCoreApplication::instance())
        return nullptr;
    const RequestFunction request = requestFunction();
    if (!request)
        return nullptr;
    const QByteArray override = qgetenv("TALLYBROOK_RATE_URL");
    const QUrl url(override.isEmpty() ? QStringLiteral("https://open.er-api.com/v6/latest/USD")
                                      : QString::fromUtf8(override));
    return request(url, g_timeoutMs, kMaxBodyBytes, [](const QByteArray& body) {
        if (const auto rate = parseAnswer(body))
            setUsdToTry(*rate);
    });
}

} // namespace CurrencyRate
