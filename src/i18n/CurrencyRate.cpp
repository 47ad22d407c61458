#include "i18n/CurrencyRate.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <memory>

namespace CurrencyRate {

namespace {
double g_usdToTry = kInitialUsdToTry;
int g_timeoutMs = kDefaultTimeoutMs;

QNetworkAccessManager* network()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return manager;
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

QNetworkReply* startRequest()
{
    if (!QCoreApplication::instance())
        return nullptr;
    const QByteArray override = qgetenv("TALLYBROOK_RATE_URL");
    const QUrl url(override.isEmpty() ? QStringLiteral("https://open.er-api.com/v6/latest/USD")
                                      : QString::fromUtf8(override));
    if (!url.isValid() || url.scheme().isEmpty())
        return nullptr;
    QNetworkRequest request(url);
    request.setTransferTimeout(g_timeoutMs);
    QNetworkReply* reply = network()->get(request);
    // The transfer time-out restarts with every byte; a whole-request deadline stops a trickle.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(g_timeoutMs);
    // A body past the limit is no answer of this service: stop reading at once. An announced
    // length tells early; a chunked or compressed answer is taken as it arrives and counted, so no
    // more than the limit is ever held.
    // The reply's own buffer is bounded too, so that the network stops reading ahead of us.
    reply->setReadBufferSize(kMaxBodyBytes);
    auto body = std::make_shared<QByteArray>();
    auto tooLarge = std::make_shared<bool>(false);
    const auto refuse = [reply, body, tooLarge] {
        *tooLarge = true;
        body->clear();
        reply->abort();
    };
    const auto take = [reply, body, tooLarge, refuse] {
        if (*tooLarge)
            return;
        *body += reply->read(kMaxBodyBytes + 1 - body->size());
        if (body->size() > kMaxBodyBytes || reply->bytesAvailable() > 0)
            refuse();
    };
    // What arrives is counted by take(); an announced length too large is refused before that.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [tooLarge, refuse](qint64, qint64 total) {
                         if (!*tooLarge && total > kMaxBodyBytes)
                             refuse();
                     });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, body, tooLarge, take] {
        reply->deleteLater();
        take();
        if (*tooLarge)
            return;
        // The HTTP status is not looked at: any body that parses is used.
        if (const auto rate = parseAnswer(*body))
            setUsdToTry(*rate);
    });
    return reply;
}

} // namespace CurrencyRate
