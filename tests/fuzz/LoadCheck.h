#pragma once

#include "i18n/CurrencyRate.h"
#include "model/Amount.h"
#include "model/DataFile.h"
#include "model/HexColor.h"
#include "model/Store.h"

#include <QSet>
#include <cstdlib>

// What must hold for any bytes found where the data file should be: reading either fails
// cleanly or gives a document that repairs, writes and reads back to the same bytes.
namespace LoadCheck {

inline void require(bool ok)
{
    if (!ok)
        std::abort();
}

inline void check(const QByteArray& bytes)
{
    std::optional<AppData> doc = DataFile::decode(bytes);
    if (doc) {
        // What a start does: dates to noon, then the repairs, in either case rule.
        for (Project& p : doc->projects)
            p.date = atNoon(p.date);
        const bool turkish = bytes.size() % 2 == 1;
        bool changed = false;
        Store::sanitize(*doc, changed, turkish);
        bool again = false;
        Store::sanitize(*doc, again, turkish);
        require(!again); // repair settles in one pass
        QSet<QUuid> ids;
        for (const Project& p : doc->projects)
            ids.insert(p.id);
        require(ids.size() == doc->projects.size()); // every project its own id
        const auto written = DataFile::encode(*doc);
        require(written.has_value());
        const auto reread = DataFile::decode(*written);
        require(reread.has_value());
        require(DataFile::encode(*reread) == written);
    }
    // The other readers of outside text.
    const QString text = QString::fromUtf8(bytes.left(4096));
    if (const auto amount = Amount::parse(text))
        require(*amount >= 0 && std::isfinite(*amount));
    HexColor::fromHex(text);
    if (const auto amount = Amount::fromField(text, QString(), std::nullopt, 50.1413))
        require(*amount >= 0 && *amount <= Amount::kMaxAmount);
    if (const auto rate = CurrencyRate::parseAnswer(bytes))
        require(CurrencyRate::plausible(*rate));
}

} // namespace LoadCheck
