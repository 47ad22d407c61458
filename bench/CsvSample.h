#pragma once

// A 10,000-row file as a Turkish spreadsheet writes it (Windows-1254, semicolons, DD.MM.YYYY,
// "1.234,56"), and a document of 10,000 projects for the duplicate check.

#include "model/AppData.h"

#include <QByteArray>
#include <QDate>
#include <QUuid>
#include <random>

namespace CsvSample {

inline constexpr int kRows = 10000;

inline const QByteArray& file()
{
    static const QByteArray bytes = [] {
        std::mt19937 random(20261208);
        std::uniform_int_distribution<int> day(0, 5 * 365);
        std::uniform_int_distribution<int> fee(100, 2000000);
        const char* statuses[] = {"Ödendi", "Ödenecek", "Devam ediyor"};
        QString text = QStringLiteral("Proje Adı;Müşteri;Kategori;Ücret;Dış Kaynak;Durum;Tarih\r\n");
        const QDate first(2020, 1, 1);
        for (int i = 0; i < kRows; ++i) {
            const int cents = fee(random);
            const QString amount = QStringLiteral("%1.%2,%3")
                                       .arg(cents / 100000)
                                       .arg((cents / 100) % 1000, 3, 10, QLatin1Char('0'))
                                       .arg(cents % 100, 2, 10, QLatin1Char('0'));
            text += QStringLiteral("İş %1;Müşteri Şirketi %2;Kategori %3;%4;0;%5;%6\r\n")
                        .arg(i)
                        .arg(i % 60)
                        .arg(i % 9)
                        .arg(amount, QString::fromUtf8(statuses[i % 3]),
                             first.addDays(day(random)).toString(QStringLiteral("dd.MM.yyyy")));
        }
        QByteArray out;
        out.reserve(text.size());
        // Windows-1254 for the few Turkish letters used here, Latin-1 for the rest.
        for (QChar c : std::as_const(text)) {
            switch (c.unicode()) {
            case 0x0130:
                out += '\xDD';
                break;
            case 0x015F:
                out += '\xFE';
                break;
            case 0x0131:
                out += '\xFD';
                break;
            default:
                out += char(c.unicode() & 0xFF);
            }
        }
        return out;
    }();
    return bytes;
}

inline const AppData& document()
{
    static const AppData data = [] {
        AppData d;
        for (int i = 0; i < kRows; ++i) {
            Project p;
            p.id = QUuid::createUuid();
            p.name = QStringLiteral("Project %1").arg(i);
            p.client = QStringLiteral("Client %1").arg(i % 40);
            p.fee = 100.0 * (i % 150);
            p.date = QDateTime(QDate(2020, 1, 1).addDays(i % 1800), QTime(12, 0), Qt::LocalTime);
            d.projects.append(p);
        }
        return d;
    }();
    return data;
}

} // namespace CsvSample
