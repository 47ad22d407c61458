#include "TestMain.h"

#include "i18n/CurrencyRate.h"
#include "model/Store.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Answers every connection with a fixed HTTP response, or trickles bytes without end.
class FakeRateServer final : public QObject
{
public:
    QByteArray response;
    QByteArray redirected; // the answer for a request to /moved
    bool trickle = false;
    int requests = 0;
    // A chunked answer of this many bytes, sent as fast as it is taken; `streamed` counts them.
    qint64 chunked = 0;
    qint64 streamed = 0;

    FakeRateServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
                        return;
                    socket->setProperty("answered", true);
                    ++requests;
                    if (chunked > 0) {
                        streamed = 0;
                        socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
                        const QByteArray piece(64 * 1024, 'x');
                        const QByteArray chunk =
                            QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
                        auto pump = [this, socket, chunk] {
                            while (socket->state() == QAbstractSocket::ConnectedState &&
                                   socket->bytesToWrite() < 256 * 1024 && streamed < chunked) {
                                socket->write(streamed == 0 ? "1\r\n{\r\n" + chunk : chunk);
                                streamed += chunk.size();
                            }
                            if (streamed >= chunked && socket->state() == QAbstractSocket::ConnectedState)
                                socket->write("0\r\n\r\n");
                        };
                        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, pump);
                        pump();
                        return;
                    }
                    if (trickle) {
                        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n{");
                        auto* timer = new QTimer(socket);
                        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write(" "); });
                        timer->start(20);
                        return;
                    }
                    socket->write(request.startsWith("GET /moved") ? redirected : response);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QByteArray url() const
    {
        return "http://127.0.0.1:" + QByteArray::number(m_server.serverPort()) + "/v6/latest/USD";
    }

private:
    QTcpServer m_server;
};

QByteArray http(int status, const QByteArray& body)
{
    return "HTTP/1.1 " + QByteArray::number(status) +
           " X\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

class TestCurrencyRate final : public QObject
{
    Q_OBJECT

    FakeRateServer m_server;

    // Runs one request against the fake server and waits until it is over.
    void fetchWith(const QByteArray& response)
    {
        m_server.response = response;
        qputenv("TALLYBROOK_RATE_URL", m_server.url());
        QObject* reply = CurrencyRate::startRequest();
        QVERIFY(reply);
        QSignalSpy done(reply, &QObject::destroyed);
        QVERIFY(done.wait(5000));
    }

private slots:
    void init() { CurrencyRate::setUsdToTry(CurrencyRate::kInitialUsdToTry); }

    // Only the application asks for the rate: a Store made by a test, a tool or a benchmark
    // stays off the network.
    void aStoreNeverAsksForTheRate()
    {
        m_server.response = http(200, R"({"rates":{"TRY":43.75}})");
        qputenv("TALLYBROOK_RATE_URL", m_server.url());
        const int before = m_server.requests;
        QTemporaryDir dir;
        {
            Store store(dir.path(), false);
            Store preview(dir.path(), true);
            QTest::qWait(300);
        }
        QCOMPARE(m_server.requests, before);
        CurrencyRate::fetchLiveRate();
        QTRY_COMPARE(m_server.requests, before + 1);
        QTRY_COMPARE(CurrencyRate::usdToTry(), 43.75);
    }

    void parsing()
    {
        QCOMPARE(CurrencyRate::parseAnswer(R"({"rates":{"TRY":41.2,"EUR":0.9}})"),
                 std::optional<double>(41.2));
        QCOMPARE(CurrencyRate::parseAnswer(R"({"rates":{"TRY":38}})"), std::optional<double>(38));
        const QByteArray rejected[] = {"", "not json", "[1]", R"({"rates":[]})",
                                       R"({"rates":{"TRY":"41.2"}})", R"({"rates":{"TRY":0}})",
                                       R"({"rates":{"TRY":-3}})", R"({"rates":{"USD":1}})",
                                       R"({"rates":{"TRY":1e999}})", R"({"TRY":41.2})",
                                       // Not a real rate: subnormal, far too small or too large.
                                       R"({"rates":{"TRY":1e-320}})", R"({"rates":{"TRY":0.00009}})",
                                       R"({"rates":{"TRY":1000001}})", R"({"rates":{"TRY":1e300}})"};
        for (const QByteArray& body : rejected)
            QVERIFY2(!CurrencyRate::parseAnswer(body), body.constData());
        QCOMPARE(CurrencyRate::parseAnswer(R"({"rates":{"TRY":0.0001}})"), std::optional<double>(0.0001));
        QCOMPARE(CurrencyRate::parseAnswer(R"({"rates":{"TRY":1e6}})"), std::optional<double>(1e6));
    }

    void rateChangesAreAnnouncedAndAbsurdOnesRefused()
    {
        QSignalSpy changed(CurrencyRate::notifier(), &RateNotifier::changed);
        QVERIFY(CurrencyRate::setUsdToTry(41.2));
        QCOMPARE(changed.size(), 1);
        QVERIFY(CurrencyRate::setUsdToTry(41.2)); // the same rate: nothing to redraw
        QCOMPARE(changed.size(), 1);
        for (const double absurd : {0.0, -1.0, 1e-320, 5e-5, 2e6, qInf(), qQNaN()}) {
            QVERIFY(!CurrencyRate::setUsdToTry(absurd));
            QCOMPARE(CurrencyRate::usdToTry(), 41.2);
        }
        QCOMPARE(changed.size(), 1);
        // A live answer of 1e-320 once made every typed lira amount infinite and every save fail.
        fetchWith(http(200, R"({"rates":{"TRY":1e-320}})"));
        QCOMPARE(CurrencyRate::usdToTry(), 41.2);
        fetchWith(http(200, R"({"rates":{"TRY":43.75}})"));
        QCOMPARE(CurrencyRate::usdToTry(), 43.75);
        QCOMPARE(changed.size(), 2);
        m_server.requests = 0;
    }

    void liveAnswers()
    {
        QCOMPARE(CurrencyRate::usdToTry(), 50.1413);
        fetchWith(http(200, R"({"result":"success","rates":{"TRY":41.2}})"));
        QCOMPARE(CurrencyRate::usdToTry(), 41.2);
        // An error page whose body holds a rate is still used.
        fetchWith(http(503, R"({"rates":{"TRY":39.5}})"));
        QCOMPARE(CurrencyRate::usdToTry(), 39.5);
        fetchWith(http(200, R"({"rates":{"TRY":"40"}})"));
        fetchWith(http(200, R"({"rates":{"TRY":0}})"));
        fetchWith(http(200, "<html>garbage</html>"));
        QCOMPARE(CurrencyRate::usdToTry(), 39.5);
        // A huge body is not read to its end.
        QByteArray huge = "{\"pad\":\"" + QByteArray(3 << 20, 'x') + "\",\"rates\":{\"TRY\":12}}";
        fetchWith(http(200, huge));
        QCOMPARE(CurrencyRate::usdToTry(), 39.5);
        QCOMPARE(m_server.requests, 6);
    }

    void chunkedAnswersStopAtTheLimit()
    {
        // No length announced: only counting what arrives can stop a 100 MB answer.
        m_server.chunked = qint64(100) << 20;
        fetchWith({});
        QCOMPARE(CurrencyRate::usdToTry(), 50.1413);
        QVERIFY2(m_server.streamed < 8 * CurrencyRate::kMaxBodyBytes,
                 qPrintable(QString::number(m_server.streamed)));
        m_server.chunked = 0;
    }

    void redirects()
    {
        const QByteArray moved = "HTTP/1.1 302 Found\r\nLocation: /moved\r\nContent-Length: 0\r\n"
                                 "Connection: close\r\n\r\n";
        m_server.redirected = http(200, R"({"rates":{"TRY":44.5}})");
        fetchWith(moved);
        QCOMPARE(CurrencyRate::usdToTry(), 44.5);
        // A redirect that never ends gives up and keeps the rate.
        m_server.redirected = moved;
        fetchWith(moved);
        QCOMPARE(CurrencyRate::usdToTry(), 44.5);
    }

    void noServerAndTrickle()
    {
        qputenv("TALLYBROOK_RATE_URL", "http://127.0.0.1:9/v6/latest/USD");
        QObject* reply = CurrencyRate::startRequest();
        QSignalSpy done(reply, &QObject::destroyed);
        QVERIFY(done.wait(5000));
        QCOMPARE(CurrencyRate::usdToTry(), 50.1413);

        m_server.trickle = true;
        CurrencyRate::setTimeoutMs(300);
        QElapsedTimer clock;
        clock.start();
        fetchWith({});
        QVERIFY(clock.elapsed() < 4000);
        QCOMPARE(CurrencyRate::usdToTry(), 50.1413);
        m_server.trickle = false;
        CurrencyRate::setTimeoutMs(CurrencyRate::kDefaultTimeoutMs);

        qputenv("TALLYBROOK_RATE_URL", "::not a url::");
        QVERIFY(!CurrencyRate::startRequest());
    }
};

TB_TEST_MAIN(TestCurrencyRate)
#include "tst_currency_rate.moc"
