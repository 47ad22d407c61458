#pragma once

#include "model/Backups.h"
#include "model/DocumentDiff.h"
#include "model/StoreTypes.h"

#include <QString>
#include <QVector>

// What the backups list and a restore's preview say, in the interface language. Amounts are
// written as the board writes them: in the current document's currency at the current rate.
namespace BackupTexts {

struct Money
{
    AppLanguage language = AppLanguage::en;
    QString currency;
    double usdToTry = 0;
    QString operator()(double amount) const;
};

// "7 Dec 2026, 19:30"
QString when(const QDateTime& time, AppLanguage language);

// The second line of an entry: "37 projects · 2026 paid $60,400", or why it cannot be read.
QString summary(const Backups::Entry& entry, const Money& money);

struct Line
{
    enum class Kind { heading, added, removed, changed, detail, note };
    Kind kind;
    QString text;
};

// The preview of restoring `after` over `before`, heading by heading.
QVector<Line> preview(const DocumentDiff::Diff& diff, const AppData& before, const AppData& after,
                      const Money& money);

} // namespace BackupTexts
