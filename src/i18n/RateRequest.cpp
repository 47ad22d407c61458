// The exchange rate's request, built as a module of its own and loaded when the request is first
// made (after the first frame): QtNetwork, and the TLS, Kerberos and proxy libraries it brings,
// are then no part of a start. The program hands over the address and limits and gets the body.

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace {
QNetworkAccessManager* network()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return manager;
}
} // namespace

// Starts a GET of `url`; `answer` gets the body once it is complete, at most `maxBytes` of it
// (nothing when the request fails or the body is larger). Returns the request, deleted when it is
// over, or null when none started.
extern "C" Q_DECL_EXPORT QObject* tallybrookRateRequest(const QUrl& url, int timeoutMs, qint64 maxBytes,
                                                        void (*answer)(const QByteArray& body))
{
    if (!QCoreApplication::instance() || !url.isValid() || url.scheme().isEmpty())
        return nullptr;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = network()->get(request);
    // The transfer time-out restarts with every byte; a whole-request deadline stops a trickle.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(timeoutMs);
    // A body past the limit is no answer of this service: stop reading at once. An announced
    // length tells early; a chunked or compressed answer is taken as it arrives and counted, so no
    // more than the limit is ever held.
    // The reply's own buffer is bounded too, so that the network stops reading ahead of us.
    reply->setReadBufferSize(maxBytes);
    auto body = std::make_shared<QByteArray>();
    auto tooLarge = std::make_shared<bool>(false);
    const auto refuse = [reply, body, tooLarge] {
        *tooLarge = true;
        body->clear();
        reply->abort();
    };
    const auto take = [reply, body, tooLarge, refuse, maxBytes] {
        if (*tooLarge)
            return;
        *body += reply->read(maxBytes + 1 - body->size());
        if (body->size() > maxBytes || reply->bytesAvailable() > 0)
            refuse();
    };
    // What arrives is counted by take(); an announced length too large is refused before that.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [tooLarge, refuse, maxBytes](qint64, qint64 total) {
                         if (!*tooLarge && total > maxBytes)
                             refuse();
                     });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, body, tooLarge, take, answer] {
        reply->deleteLater();
        take();
        if (*tooLarge)
            return;
        // The HTTP status is not looked at: any body that parses is used.
        answer(*body);
    });
    return reply;
}
