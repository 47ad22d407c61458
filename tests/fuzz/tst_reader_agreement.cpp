#include "TestMain.h"

#include "ReaderAgreement.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <algorithm>

// The simdjson reader against the QJsonDocument reader it replaced (tests/support/OracleReader):
// every file of the fuzz corpus and the past findings, the corners of Qt's JSON parser written
// out by hand, and each of those changed systematically (cut short, a byte taken out, put in,
// doubled or changed).
namespace {

QByteArray project(const QByteArray& fields)
{
    return R"({"projects":[{"id":"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F","name":"Logo","fee":100)" +
           (fields.isEmpty() ? QByteArray() : "," + fields) + "}]}";
}

QByteArray nested(int depth, const QByteArray& inner = {})
{
    return R"({"extra":)" + QByteArray(depth - 1, '[') + inner + QByteArray(depth - 1, ']') + "}";
}

// Hand-written corners: readable and unreadable alike.
QList<QPair<QByteArray, QByteArray>> tricky()
{
    QList<QPair<QByteArray, QByteArray>> t;
    const auto add = [&](const char* name, const QByteArray& bytes) { t.append({QByteArray(name), bytes}); };
    add("empty", "");
    add("white space only", " \t\r\n");
    add("empty object", "{}");
    add("array at top", "[]");
    add("number at top", "1");
    add("string at top", "\"x\"");
    add("null at top", "null");
    add("two documents", "{}{}");
    add("trailing garbage", "{} x");
    add("trailing NUL", QByteArray("{}\0", 3));
    add("trailing white space", "{}\n\t \r");
    add("form feed is no white space", "{\f}");
    add("vertical tab is no white space", "{\v}");
    add("NUL bytes", QByteArray("{\0\0}", 4));
    add("byte-order mark", "\xEF\xBB\xBF{}");
    add("byte-order mark only", "\xEF\xBB\xBF");
    add("two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF{}");
    add("byte-order mark after space", " \xEF\xBB\xBF{}");
    add("truncated", R"({"projects":[{"name":"x","fee")");
    add("unclosed string", R"({"currency":"x})");
    add("trailing comma in object", R"({"currency":"x",})");
    add("trailing comma in array", R"({"clients":["a",]})");
    add("leading comma in array", R"({"clients":[,"a"]})");
    add("missing colon", R"({"currency" "x"})");
    add("missing value", R"({"currency":})");
    add("comma for value", R"({"currency":,})");
    add("key not a string", R"({currency:"x"})");
    add("single quotes", R"({'currency':'x'})");
    add("value after value", R"({"clients":["a" "b"]})");
    add("string glued to string", R"({"clients":["a""b"]})");
    add("number glued to string", R"({"clients":[1"b"]})");
    add("string glued to literal", R"({"x":"a"true})");
    // Depth: Qt allows 1024 levels of objects and arrays, counting the top.
    add("depth 1023", nested(1023));
    add("depth 1024", nested(1024));
    add("depth 1025", nested(1025));
    add("depth 1024 in objects",
        R"({"a":)" + QByteArray(1022, '{').replace("{", R"({"a":)") + "1" + QByteArray(1022, '}') + "}");
    add("deep nesting", QByteArray(200000, '['));
    add("deep nesting in an ignored key", nested(1000));
    add("too deep in an ignored key", nested(5000));
    add("deep in a project", project(R"("x":)" + QByteArray(1021, '[') + QByteArray(1021, ']')));
    add("too deep in a project", project(R"("x":)" + QByteArray(1023, '[') + QByteArray(1023, ']')));
    // Literals.
    add("null taxRate", R"({"taxRate":null})");
    add("true taxRate", R"({"taxRate":true})");
    add("literal cut", R"({"x":nul})");
    add("literal long", R"({"x":nulll})");
    add("literal in capitals", R"({"x":NULL})");
    add("literal glued", R"({"x":truefalse})");
    add("literal at end", R"({"x":true)");
    add("false at end", R"({"x":fals)");
    // Numbers.
    for (const char* n : {"0",
                          "-0",
                          "-0.0",
                          "0.0",
                          "-0e0",
                          "0e-5",
                          "1",
                          "-1",
                          "1.5",
                          "-1.5",
                          ".5",
                          "-.5",
                          "5.",
                          "-5.",
                          "0.",
                          "-0.",
                          ".",
                          "-.",
                          "-",
                          "+1",
                          "01",
                          "-01",
                          "00",
                          "1.e3",
                          ".e3",
                          "1e",
                          "1e+",
                          "1e-",
                          "e5",
                          "E5",
                          "1E5",
                          "1e+5",
                          "1e-5",
                          "1.5e3",
                          "1.5E-3",
                          "1e400",
                          "-1e400",
                          "1e-400",
                          "-1e-400",
                          "1e-324",
                          "3e-324",
                          "2e-324",
                          "4.9e-324",
                          "1e308",
                          "1.7976931348623157e308",
                          "1.7976931348623159e308",
                          "2.2250738585072011e-308",
                          "9007199254740992",
                          "9007199254740993",
                          "-9007199254740993",
                          "9223372036854775807",
                          "9223372036854775808",
                          "-9223372036854775808",
                          "-9223372036854775809",
                          "18446744073709551615",
                          "18446744073709551616",
                          "99999999999999999999",
                          "123456789012345678",
                          "1234567890123456789",
                          "0.1",
                          "0.2",
                          "0.30000000000000004",
                          "123456789012345.6",
                          "1234567890123456.7",
                          "24999.75",
                          "1.0",
                          "1.00000000000000000000000001",
                          "0.0000000000000000000000001",
                          "1e0",
                          "1e00000000000000000001",
                          "0e99999999999999",
                          "1e99999999999999",
                          "0.000e-99999",
                          "1x",
                          "1 2",
                          "1-2",
                          "1.5.5",
                          "0x10",
                          "Infinity",
                          "-Infinity",
                          "NaN",
                          "nan",
                          "inf",
                          "1e5e5",
                          "--1",
                          "- 1",
                          "1.e",
                          "1.e+",
                          "100000000000000000000000e-40"}) {
        add(qPrintable(QStringLiteral("fee %1").arg(QLatin1String(n))),
            R"({"projects":[{"name":"x","fee":)" + QByteArray(n) + "}]}");
        add(qPrintable(QStringLiteral("ignored %1").arg(QLatin1String(n))),
            R"({"x":[)" + QByteArray(n) + "]}");
    }
    add("number at end", R"({"x":1)");
    // Strings and escapes.
    for (const QByteArray& s : {QByteArray(R"(\u0000)"),
                                QByteArray(R"(\ud800)"),
                                QByteArray(R"(\udc00)"),
                                QByteArray(R"(\ud83d\ude00)"),
                                QByteArray(R"(\ude00\ud83d)"),
                                QByteArray(R"(\ud83dx)"),
                                QByteArray(R"(\uD83D\uDE00)"),
                                QByteArray(R"(\u00e9)"),
                                QByteArray(R"(\u00E9)"),
                                QByteArray(R"(\u12)"),
                                QByteArray(R"(\u12g4)"),
                                QByteArray(R"(\u)"),
                                QByteArray(R"(\")"),
                                QByteArray(R"(\\)"),
                                QByteArray(R"(\/)"),
                                QByteArray(R"(\b\f\n\r\t)"),
                                QByteArray(R"(\q)"),
                                QByteArray(R"(\a\x\0)"),
                                QByteArray(R"(\')"),
                                QByteArray("\\\x01"),
                                QByteArray("\\\x1f"),
                                QByteArray("\\\x7f"),
                                QByteArray("\\\xc3"),
                                QByteArray("\\\xc3\xa9"),
                                QByteArray("\\\x80"),
                                QByteArray("\\\xff"),
                                QByteArray("\\\xe2\x82\xac"),
                                QByteArray("\x01"),
                                QByteArray("\t\n\r"),
                                QByteArray("a\0b", 3),
                                QByteArray("\x7f"),
                                QByteArray("\xc3\xa9"),
                                QByteArray("\xc3\x28"),
                                QByteArray("\xc0\xaf"),
                                QByteArray("\xe0\x80\xaf"),
                                QByteArray("\xed\xa0\x80"),
                                QByteArray("\xef\xbf\xbf"),
                                QByteArray("\xef\xbf\xbe"),
                                QByteArray("\xf4\x8f\xbf\xbf"),
                                QByteArray("\xf4\x90\x80\x80"),
                                QByteArray("\xf5\x80\x80\x80"),
                                QByteArray("\xf0\x9f\x98\x80"),
                                QByteArray("\x80"),
                                QByteArray("\xc3"),
                                QByteArray("\xe2\x82"),
                                QByteArray("\xfe\xff"),
                                QByteArray("\\u0041\xc3\xa9\\n"),
                                QByteArray("\\\x01\\u0000\x02")}) {
        add(qPrintable("currency " + s.toPercentEncoding()), R"({"currency":")" + s + R"("})");
        add(qPrintable("name " + s.toPercentEncoding()), R"({"projects":[{"name":")" + s + R"(","fee":1}]})");
        add(qPrintable("key " + s.toPercentEncoding()), R"({")" + s + R"(":1})");
    }
    add("backslash at the end", "{\"currency\":\"\\");
    // A byte-order mark at the start of a string without escapes is dropped (QString::fromUtf8),
    // with escapes kept; raw control characters must not change which.
    add("marks in strings", "{\"currency\":\"\xef\xbb\xbf"
                            "x\",\"clients\":[\"a\\n\xef\xbb\xbf"
                            "\","
                            "\"\xef\xbb\xbf"
                            "\\n\",\"\xef\xbb\xbf"
                            "\xef\xbb\xbf"
                            "y\","
                            "\"\xef\xbb\xbf"
                            "\x01\",\"\xef\xbb\xbf"
                            "\xef\xbb\xbf"
                            "\x01\",\"\xef\xbb\xbf"
                            "\x01\\n\"],"
                            "\"projects\":[{\"\xef\xbb\xbf"
                            "name\":\"n\","
                            "\"fee\":1,\"status\":\"\xef\xbb\xbf"
                            "paid\",\"id\":\"\xef\xbb\xbf"
                            "5F1C5A8E-3B1D-"
                            "4C2A-9E3F-1A2B3C4D5E6F\","
                            "\"date\":\"\xef\xbb\xbf"
                            "2026-03-15T12:00:00Z\",\"client\":\"\xef\xbb\xbf"
                            "c\"}],"
                            "\"layout\":\"\xef\xbb\xbf"
                            "table\"}");
    // Texts around the 16-byte blocks they are read in, ASCII or not at either end.
    for (const QByteArray& name :
         {QByteArray(15, 'a'), QByteArray(16, 'b'), QByteArray(17, 'c'), QByteArray(32, 'd'),
          QByteArray(16, 'e') + "\xc3\xa9", "\xc3\xa9" + QByteArray(16, 'f'), QByteArray(31, 'g') + "\x7f"})
        add(qPrintable("name of " + QByteArray::number(name.size()) + " bytes " + name.right(2).toHex()),
            project("\"client\":\"" + name + "\",\"category\":\"" + name + "\"")
                .replace("\"Logo\"", "\"" + name + "\""));
    // Dates read once per text: marks, escapes and lengths around the two forms, repeated.
    for (const QByteArray& date :
         {QByteArray("2026-03-15T12:00:00Z"), QByteArray("2026-03-15T12:00:00+01:00"),
          QByteArray("\xef\xbb\xbf"
                     "2026-03-15T12:00:00Z"),
          QByteArray("\xef\xbb\xbf"
                     "2026-03-15T12:00:00+01:00"),
          QByteArray("\\u0032026-03-15T12:00:00Z"), QByteArray("2026-03-15T12:00:00+01:000"),
          QByteArray("2026-02-30T12:00:00Z"), QByteArray("2026-03-15t12:00:00Z"),
          QByteArray("2026-03-15T12:00:00\xc3\xa9")}) {
        const QByteArray one =
            R"({"id":"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F","name":"a","fee":1,"date":")" + date + "\"}";
        const QByteArray other =
            R"({"id":"6F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F","name":"b","fee":2,"date":")" + date + "\"}";
        add(qPrintable("date " + date.toPercentEncoding()),
            "{\"projects\":[" + one + "," + other + "," + one + "]}");
    }
    // Ids: every digit position, either case, and a wrong character at each end.
    for (const QByteArray& id : {QByteArray("5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f"),
                                 QByteArray("0123456789ABCDEF-abcd-ef01-2345-6789abcdef01"),
                                 QByteArray("01234567-89AB-CDEF-abcd-ef0123456789"),
                                 QByteArray("G1234567-89AB-CDEF-abcd-ef0123456789"),
                                 QByteArray("01234567-89AB-CDEF-abcd-ef012345678g"),
                                 QByteArray("01234567-89AB-CDEF-abcd-ef012345678 "),
                                 QByteArray("01234567+89AB-CDEF-abcd-ef0123456789"),
                                 QByteArray("01234567-89AB-CDEF-abcd_ef0123456789")})
        add(qPrintable("id " + id), R"({"projects":[{"id":")" + id + R"(","name":"a","fee":1}]})");
    add("escaped key", R"({"curr\u0065ncy":"x"})");
    add("escaped project key", R"({"projects":[{"n\u0061me":"x","f\u0065e":1}]})");
    add("escaped status", project(R"("status":"p\u0061id")"));
    add("escaped layout", R"({"layout":"t\u0061ble"})");
    add("escaped id",
        R"({"projects":[{"id":"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6\u0046","name":"x","fee":1}]})");
    add("escaped date", project(R"("date":"2026-03-15T12:00:00\u005a")"));
    add("non-ASCII in an id",
        R"({"projects":[{"id":"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6é","name":"x","fee":1}]})");
    add("non-ASCII in a date", project(R"("date":"2026-03-15T12:00:0é")"));
    add("full-width digits in a date", project(R"("date":"２026-03-15T12:00:00Z")"));
    // Duplicate keys: the last counts.
    add("duplicate keys", R"({"currency":"€","currency":"£","projects":[{"name":"a","name":"b","fee":1}]})");
    add("duplicate, last null", R"({"projects":[{"name":"a","name":null,"fee":1}]})");
    add("duplicate, first bad", R"({"projects":[{"fee":"x","name":"a","fee":2}]})");
    add("duplicate, last bad", R"({"projects":[{"fee":2,"name":"a","fee":"x"}]})");
    add("duplicate projects, first bad", R"({"projects":[1],"projects":[{"name":"a","fee":1}]})");
    add("duplicate projects, last null", R"({"projects":[{"name":"a","fee":1}],"projects":null})");
    add("duplicate projects, last text", R"({"projects":[{"name":"a","fee":1}],"projects":"x"})");
    add("duplicate, escaped", R"({"currency":"a","curr\u0065ncy":"b"})");
    add("duplicate colours", R"({"columnColors":{"paid":1,"paid":"#fff"}})");
    add("duplicate colours, last bad", R"({"columnColors":{"paid":"#fff","paid":1}})");
    add("duplicate clients, first bad", R"({"clients":[1],"clients":["a"]})");
    add("duplicate order, first bad", R"({"columnOrder":["x"],"columnOrder":["paid"]})");
    add("duplicate taxRate, first text", R"({"taxRate":"x","taxRate":5})");
    add("duplicate layout", R"({"layout":"grid","layout":"table"})");
    // Types and defaults.
    add("null everywhere",
        R"({"currency":null,"taxRate":null,"targetGoal":null,"layout":null,"columnOrder":null,)"
        R"("columnColors":null,"clients":null,"categories":null,"projects":null})");
    add("null project", R"({"projects":[null]})");
    add("null client entry", R"({"clients":[null]})");
    add("null colour", R"({"columnColors":{"paid":null}})");
    add("null status in order", R"({"columnOrder":[null]})");
    add("order repeats", R"({"columnOrder":["paid","paid","ongoing"]})");
    add("colours", R"({"columnColors":{"paid":"#123456","z":"","\u0000":"x"}})");
    add("colours not object", R"({"columnColors":[]})");
    add("project null members",
        project(R"("client":null,"category":null,"outsource":null,"status":null,"date":null)"));
    add("project without id", R"({"projects":[{"name":"x","fee":1}]})");
    add("project lower-case id",
        R"({"projects":[{"id":"5f1c5a8e-3b1d-4c2a-9e3f-1a2b3c4d5e6f","name":"x","fee":1}]})");
    add("project braced id",
        R"({"projects":[{"id":"{5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6F}","name":"x","fee":1}]})");
    add("project id 35", R"({"projects":[{"id":"5F1C5A8E-3B1D-4C2A-9E3F-1A2B3C4D5E6","name":"x","fee":1}]})");
    add("project id wrong dash",
        R"({"projects":[{"id":"5F1C5A8E3-B1D-4C2A-9E3F-1A2B3C4D5E6F","name":"x","fee":1}]})");
    add("project id not text", R"({"projects":[{"id":1,"name":"x","fee":1}]})");
    add("project fee text", R"({"projects":[{"name":"x","fee":"1"}]})");
    add("project name number", R"({"projects":[{"name":1,"fee":1}]})");
    add("project outsource text", project(R"("outsource":"1")"));
    add("project client number", project(R"("client":1)"));
    add("project unknown keys", project(R"("extra":{"a":[1,2,{"b":null}]},"":"","Name":"x")"));
    for (const char* d : {"2026-03-15T12:00:00Z",      "2026-03-15T12:00:00+03:00",
                          "2026-03-15T12:00:00-23:59", "2026-03-15T12:00:00+24:00",
                          "2026-03-15T12:00:00+03:60", "2026-02-29T12:00:00Z",
                          "2024-02-29T12:00:00Z",      "0000-01-01T00:00:00Z",
                          "0001-01-01T00:00:00Z",      "9999-12-31T23:59:59Z",
                          "9999-12-31T23:59:59-01:00", "2026-03-15T24:00:00Z",
                          "2026-03-15T12:60:00Z",      "2026-03-15T12:00:60Z",
                          "2026-03-15 12:00:00Z",      "2026-03-15T12:00:00z",
                          "2026-03-15T12:00:00.5Z",    "2026-13-15T12:00:00Z",
                          "2026-00-15T12:00:00Z",      "2026-03-00T12:00:00Z",
                          "-026-03-15T12:00:00Z",      "2026-03-15"})
        add(qPrintable(QStringLiteral("date %1").arg(QLatin1String(d))),
            project(R"("date":")" + QByteArray(d) + "\""));
    for (const char* s : {"paid", "pending", "ongoing", "Paid", "cancelled", "", "paid "})
        add(qPrintable(QStringLiteral("status %1").arg(QLatin1String(s))),
            project(R"("status":")" + QByteArray(s) + "\""));
    for (const char* l : {"columns", "table", "Table", "grid", ""})
        add(qPrintable(QStringLiteral("layout %1").arg(QLatin1String(l))),
            R"({"layout":")" + QByteArray(l) + "\"}");
    add("shared clients",
        R"({"clients":["a","b"],"projects":[{"name":"x","fee":1,"client":"a"},)"
        R"({"name":"y","fee":1,"client":"a","category":"a"},{"name":"z","fee":1,"client":"b"}]})");
    return t;
}

// Each input changed in the ways that meet the grammar's corners; for longer inputs, at most
// `budget` positions, spread over it.
QList<QByteArray> mutations(const QByteArray& in, int budget)
{
    static const char kInserts[] = {'"', '\\', ',', ':', '[',  ']',    '{', '}', '0',
                                    '-', '.',  'e', ' ', '\0', '\x01', 'u', 'n'};
    QList<QByteArray> out;
    const qsizetype n = in.size();
    const qsizetype step = std::max<qsizetype>(1, n / budget);
    for (qsizetype i = 0; i <= n; i += step) {
        out.append(in.left(i));
        if (i < n) {
            out.append(in.left(i) + in.mid(i + 1));
            out.append(in.left(i) + in.at(i) + in.mid(i));
            QByteArray flipped = in;
            flipped[i] = char(flipped.at(i) ^ 0x80);
            out.append(flipped);
        }
        for (const char c : kInserts)
            out.append(in.left(i) + c + in.mid(i));
    }
    return out;
}

} // namespace

class TestReaderAgreement final : public QObject
{
    Q_OBJECT
private slots:
    void inputs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        int files = 0;
        for (const char* folder : {TB_FUZZ_DIR "/corpus", TB_FUZZ_DIR "/regressions"}) {
            QDirIterator it(QString::fromUtf8(folder), QDir::Files);
            while (it.hasNext()) {
                const QString path = it.next();
                QFile f(path);
                QVERIFY(f.open(QIODevice::ReadOnly));
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << f.readAll();
                ++files;
            }
        }
        QVERIFY(files >= 5);
        for (const auto& [name, bytes] : tricky())
            QTest::newRow(name.constData()) << bytes;
    }
    void inputs()
    {
        QFETCH(QByteArray, bytes);
        const ReaderAgreement::Outcome o = ReaderAgreement::compare(bytes);
        QVERIFY2(o.agree, o.why);
    }

    // Every corpus file and hand-written input, changed.
    void mutated()
    {
        QList<QByteArray> seeds;
        for (const char* folder : {TB_FUZZ_DIR "/corpus", TB_FUZZ_DIR "/regressions"}) {
            QDirIterator it(QString::fromUtf8(folder), QDir::Files);
            while (it.hasNext()) {
                QFile f(it.next());
                QVERIFY(f.open(QIODevice::ReadOnly));
                seeds.append(f.readAll());
            }
        }
        for (const auto& t : tricky()) {
            if (t.second.size() < 400)
                seeds.append(t.second);
        }
        int checked = 0;
        for (const QByteArray& seed : std::as_const(seeds)) {
            for (const QByteArray& m : mutations(seed, 40)) {
                const ReaderAgreement::Outcome o = ReaderAgreement::compare(m);
                if (!o.agree)
                    QFAIL(qPrintable(QStringLiteral("%1 on %2")
                                         .arg(QLatin1String(o.why), QLatin1String(m.toPercentEncoding()))));
                ++checked;
            }
        }
        QVERIFY(checked > 10000);
    }

    // Indexed a window at a time while the bytes arrive, as a start reads a large file: the same
    // documents read, the same refused with the same reason, whatever the window and chunk sizes.
    // Line feeds end the windows, so the cases put them where a scan could be misled.
    void indexedWhileArriving_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray project =
            R"({"name": "A", "fee": 1.5, "id": "6F9619FF-8B86-D011-B42D-00C04FC964FF",)"
            R"( "date": "2024-05-01T10:00:00Z", "client": "Büro", "status": "paid"})";
        const auto doc = [&](const QByteArray& projects) {
            return "{\n    \"projects\": [\n" + projects + "\n    ],\n    \"clients\": [\"Büro\"]\n}\n";
        };
        QTest::newRow("plain") << doc(project + ",\n" + project);
        QTest::newRow("byte-order mark, CR LF")
            << "\xEF\xBB\xBF" + doc(project + ",\r\n" + project).replace("\n", "\r\n");
        QByteArray rawInName = project;
        rawInName.replace("\"A\"", "\"line one\nline two\"");
        QTest::newRow("raw line feed in a name") << doc(project + ",\n" + rawInName + ",\n" + project);
        QByteArray rawInKey = project;
        rawInKey.replace("\"fee\"", "\"f\nee\", \"fee\"");
        QTest::newRow("raw line feed in a key") << doc(rawInKey.replace("\", \"fee\"", "\": 1, \"fee\""));
        QTest::newRow("a backslash ending a name")
            << doc(QByteArray(project).replace("\"A\"", "\"A\\\\\"") + ",\n" + project);
        QTest::newRow("blank lines") << doc(project + ",\n" + QByteArray(3000, ' ') + "\n\n\n\t\n" + project);
        QTest::newRow("one long line") << QByteArray(doc(project + "," + project)).replace('\n', ' ');
        QTest::newRow("invalid UTF-8 in the middle")
            << doc(project + ",\n" + QByteArray(project).replace("Büro", "B\xC3\x28ro"));
        QTest::newRow("cut in a string") << doc(project + ",\n" + project).left(120);
        QTest::newRow("cut in a number") << doc(project).left(doc(project).indexOf("1.5") + 2);
        QTest::newRow("control character in a string")
            << doc(QByteArray(project).replace("\"A\"", "\"A\x01\""));
        QTest::newRow("two documents") << doc(project) + doc(project);
        QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("white space alone") << QByteArray("  \n\n  \n");
        QTest::newRow("tiny") << QByteArray("{}");
        QTest::newRow("empty") << QByteArray();
    }

    void indexedWhileArriving()
    {
        QFETCH(QByteArray, bytes);
        QString wholeError;
        const std::optional<AppData> whole = DataFile::decode(bytes, &wholeError);
        const ReaderAgreement::Outcome o = ReaderAgreement::compare(bytes);
        QVERIFY2(o.agree, o.why);
        for (const size_t window : {size_t(1), size_t(2), size_t(7), size_t(64), size_t(1000)}) {
            for (const size_t chunk : {size_t(1), size_t(5), size_t(4096)}) {
                QString error;
                const bool onThread = chunk == 5;
                std::optional<AppData> ahead =
                    ReaderAgreement::decodeAhead(bytes, &error, window, chunk, onThread);
                const QString at = QStringLiteral("window %1, chunk %2").arg(window).arg(chunk);
                QVERIFY2(ahead.has_value() == whole.has_value(), qPrintable(at));
                QVERIFY2(error == wholeError, qPrintable(at + QStringLiteral(": ") + error));
                if (ahead) {
                    ReaderAgreement::alignGenerated(*ahead, *whole, bytes);
                    QVERIFY2(*ahead == *whole, qPrintable(at));
                }
            }
        }
    }

    // Large documents as the program writes them, whole and with one project broken.
    void largeDocuments()
    {
        AppData d;
        d.clients = {QStringLiteral("Aura"), QStringLiteral("Büro")};
        d.categories = {QStringLiteral("Logo")};
        QRandomGenerator rng(7);
        for (int i = 0; i < 30000; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Project \"%1\" \\ é \u0001").arg(i);
            p.client = i % 3 ? QStringLiteral("Aura") : QStringLiteral("Büro");
            p.category = QStringLiteral("Logo");
            p.fee = double(rng.bounded(1000000)) / 100;
            p.outsource = i % 5 ? 0 : 1e-7 * i;
            p.status = StatusInfo::all[size_t(i % 3)];
            p.date = QDateTime(QDate(2000 + i % 30, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
            d.projects.append(p);
        }
        const QByteArray bytes = *DataFile::encode(d);
        ReaderAgreement::Outcome o = ReaderAgreement::compare(bytes);
        QVERIFY2(o.agree, o.why);
        const auto read = DataFile::decode(bytes);
        QVERIFY(read);
        QCOMPARE(*read, d);
        // A project near the middle, where the second part of the reading starts (past 7/12 of
        // the tokens), or the end that cannot be read makes the whole document unreadable.
        for (const qsizetype at : {bytes.size() / 2, bytes.size() / 12 * 7, bytes.size() - 300}) {
            QByteArray broken = bytes;
            const qsizetype fee = broken.indexOf("\"fee\": ", at);
            QVERIFY(fee > 0);
            broken.insert(fee + 7, '"');
            broken.insert(broken.indexOf(',', fee + 8), '"');
            o = ReaderAgreement::compare(broken);
            QVERIFY2(o.agree, o.why);
            QVERIFY(!DataFile::decode(broken));
        }
        // Nested values in projects that look like the boundaries between projects.
        QByteArray odd = bytes;
        const QByteArray extra = R"("extra": [{}, {}, {"a": [{}, {}]}], )";
        for (qsizetype at = odd.indexOf("\"fee\""); at > 0;
             at = odd.indexOf("\"fee\"", at + extra.size() + 10))
            odd.insert(at, extra);
        o = ReaderAgreement::compare(odd);
        QVERIFY2(o.agree, o.why);
        AppData oddRead = *DataFile::decode(odd);
        const QJsonArray kept = QJsonDocument::fromJson("[[{}, {}, {\"a\": [{}, {}]}]]").array();
        for (Project& p : oddRead.projects) {
            QCOMPARE(p.extra.value(QStringLiteral("extra")), kept.at(0));
            p.extra = {};
        }
        QCOMPARE(oddRead, d);
    }

    // The index of a large document is faulted in ahead for about a token every 10 bytes, and what
    // it did not use is given back: a document of long texts (a token every 30 bytes, with more
    // than a huge page of index) and one of short numbers (one every 2) read as they were written.
    void largeDocumentsOfOtherDensities()
    {
        for (const bool sparse : {true, false}) {
            AppData d;
            const int count = sparse ? 20000 : 200;
            for (int i = 0; i < count; ++i) {
                Project p;
                p.id = QUuid::createUuid();
                p.name = QStringLiteral("Project %1").arg(i);
                p.fee = 100 + i;
                p.date = QDateTime(QDate(2000 + i % 30, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
                if (sparse) {
                    p.extra.insert(QStringLiteral("notes"), QString(600, QChar(u'a' + i % 26)));
                } else {
                    QJsonArray digits;
                    for (int k = 0; k < 20000; ++k)
                        digits.append(k % 10);
                    p.extra.insert(QStringLiteral("digits"), digits);
                }
                d.projects.append(p);
            }
            QByteArray bytes = *DataFile::encode(d);
            if (!sparse) // one digit and a comma: a token every 2 bytes
                bytes.replace(",\n", ",").replace("                ", "");
            QVERIFY2(bytes.size() > (6 << 20), qPrintable(QString::number(bytes.size())));
            const auto read = DataFile::decode(bytes);
            QVERIFY(read);
            QCOMPARE(*read, d);
        }
    }

    // The reading gives the document's pages back behind itself, in both halves it reads at once:
    // given-back pages read as zeros. A late second thread once cost either half its pages: the
    // second's look read pages the first had given back already, and later the first, waiting
    // for that look, gave back none.
    void readingGivesPagesBack()
    {
        AppData d;
        for (int i = 0; i < 30000; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Project %1").arg(i);
            p.fee = 100 + i;
            p.date = QDateTime(QDate(2000 + i % 30, 1 + i % 12, 1 + i % 28), QTime(12, 0), Qt::LocalTime);
            d.projects.append(p);
        }
        const QByteArray bytes = *DataFile::encode(d);
        const size_t size = size_t(bytes.size());
        const auto zeroPage = [](const char* at) {
            const char* page =
                reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(at) & ~uintptr_t(4095));
            return std::all_of(page, page + 4096, [](char c) { return c == 0; });
        };
        // The last rounds with the second half's thread starting only once the first half is read.
        for (int round = 0; round < 4; ++round) {
            DataFile::readSecondHalfLate(round >= 2);
            const auto onTime = qScopeGuard([] { DataFile::readSecondHalfLate(false); });
            DataFile::ReadBuffer buffer(size + 1);
            QVERIFY(buffer.data());
            std::memcpy(buffer.data(), bytes.constData(), size);
            const auto read = DataFile::decode(buffer, size);
            QVERIFY(read);
            QCOMPARE(read->projects.size(), d.projects.size());
            for (const size_t at : {size / 4, size / 2 + size / 8, size / 4 * 3})
                QVERIFY2(zeroPage(buffer.data() + at),
                         qPrintable(QStringLiteral("round %1, byte %2 of %3").arg(round).arg(at).arg(size)));
        }
    }
};

TB_TEST_MAIN(TestReaderAgreement)
#include "tst_reader_agreement.moc"
