#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>

class QLocale;
class Store;

// The active year as a PDF for an accountant: the board's summary figures, the monthly chart,
// the category breakdown and every paid project, on pages with a header and page numbers, in
// the interface language.
namespace YearReport {

// Letter where the locale's country prints on it (the United States, Canada, Mexico and a few
// more in the Americas, the Philippines), A4 elsewhere.
QPageSize pageSizeFor(const QLocale& locale);
// The paper of this computer: LC_ALL, else LC_PAPER, else the default locale.
QPageSize systemPageSize();

// "Tallybrook 2026 Report.pdf" / "Tallybrook 2026 Raporu.pdf".
QString fileName(const Store& store);

struct Pdf
{
    QByteArray bytes; // empty when it could not be drawn
    int pages = 0;
    QString error;
};
Pdf render(const Store& store, const QPageSize& pageSize);

// Renders the report on the system's paper and writes it in place of `path` in one step (a
// failed write leaves any old file whole). `dataFile` is never written over. False with the
// reason in `error`; `pages` receives the number of pages written.
bool write(const Store& store, const QString& path, const QString& dataFile, QString* error,
           int* pages = nullptr);

} // namespace YearReport
