#pragma once

#include <QByteArray>
#include <optional>

class QNetworkReply;

// The process-wide dollar-to-lira rate: built in, refreshed once per start.
namespace CurrencyRate {

inline constexpr double kInitialUsdToTry = 50.1413;
// Bodies larger than this are not exchange-rate answers; the request is dropped.
inline constexpr qint64 kMaxBodyBytes = 1 << 20;
inline constexpr int kDefaultTimeoutMs = 20000;

double usdToTry();
void setUsdToTry(double rate);

// Starts the one live request and returns at once; failures are silent.
void fetchLiveRate();
// The same, handing back the request so a caller can wait for it; null when none started.
QNetworkReply* startRequest();
// A server that trickles bytes must not hold the request forever.
void setTimeoutMs(int ms);

// "rates"."TRY" of an answer when it is a JSON number above 0.
std::optional<double> parseAnswer(const QByteArray& body);

} // namespace CurrencyRate
