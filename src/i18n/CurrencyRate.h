#pragma once

#include <QByteArray>
#include <QObject>
#include <optional>

// Tells the views that amounts already on screen were converted at an older rate.
class RateNotifier final : public QObject
{
    Q_OBJECT
signals:
    void changed();
};

// The process-wide dollar-to-lira rate: built in, refreshed once per start.
namespace CurrencyRate {

inline constexpr double kInitialUsdToTry = 50.1413;
// Bodies larger than this are not exchange-rate answers; the request is dropped.
inline constexpr qint64 kMaxBodyBytes = 1 << 20;
inline constexpr int kDefaultTimeoutMs = 20000;

// Lira per dollar outside this band is no real rate but a broken or hostile answer; a tiny
// rate would turn every typed amount infinite when it is divided back.
inline constexpr double kMinUsdToTry = 0.0001;
inline constexpr double kMaxUsdToTry = 1000000;
bool plausible(double rate);

double usdToTry();
// Replaces the rate when it is plausible and differs, and then notifies; false when refused.
bool setUsdToTry(double rate);
RateNotifier* notifier();

// Starts the one live request and returns at once; failures are silent.
void fetchLiveRate();
// The same, handing back the request (deleted when it is over) so a caller can wait for it; null
// when none started.
QObject* startRequest();
// A server that trickles bytes must not hold the request forever.
void setTimeoutMs(int ms);

// "rates"."TRY" of an answer when it is a plausible JSON number.
std::optional<double> parseAnswer(const QByteArray& body);

} // namespace CurrencyRate
