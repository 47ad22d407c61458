#include "model/AppData.h"

namespace {

struct SampleRow
{
    const char* name;
    int client;
    int category;
    double fee;
    double outsource;
    Status status;
    int month;
    int yearsAgo;
};

const char* const kClients[] = {
    "Aura Creative Studio", "Solstice Botanicals", "Ember Hollow & Co", "Lumina Fragrances", "Apex Fintech",
    "Koto Living",          "Velo Athletics",      "Solis Wellness",    "Bloom Publishing",  "Mira Audio",
    "Horizon Labs",         "Velvet Beauty",       "Coda Interactive",  "Artisan Roast",     "Nexus Health",
    "Orbit Collective",     "Harbour Ceramics",    "Northwind Cycles",  "Fable Kitchen",
};

const char* const kCategories[] = {
    "Branding",       "Packaging Design",    "Print Design",
    "Digital Design", "Digital Advertising", "AI Art & Systems",
};

enum Client {
    Aura,
    Solstice,
    Ember,
    Lumina,
    Apex,
    Koto,
    Velo,
    Solis,
    Bloom,
    Mira,
    Horizon,
    Velvet,
    Coda,
    Artisan,
    Nexus,
    Orbit,
    Harbour,
    Northwind,
    Fable
};
enum Category { Branding, Packaging, Print, Digital, Advertising, AiArt };

constexpr Status P = Status::paid;
constexpr Status W = Status::pending;
constexpr Status O = Status::ongoing;

const SampleRow kRows[] = {
    {"Aura Brand Identity", Aura, Branding, 8500, 0, P, 2, 0},
    {"Solstice Packaging Box Suite", Solstice, Packaging, 12000, 0, P, 3, 0},
    {"Seasonal Q1 Ad Campaign", Ember, Advertising, 6400, 0, P, 3, 0},
    {"Lumina Fragrance 3D Visuals", Lumina, Packaging, 5400, 600, P, 4, 0},
    {"Apex iOS Financial App System", Apex, Digital, 9200, 0, P, 1, 0},
    {"Koto Living Minimalist Book", Koto, Branding, 3500, 0, P, 5, 0},
    {"Velo Performance Campaign Assets", Velo, Advertising, 2900, 0, P, 5, 0},
    {"Solis Wellness Web Platform", Solis, Digital, 7500, 0, P, 6, 0},
    {"Bloom Magazine Editorial Art", Bloom, Print, 3200, 0, P, 4, 0},
    {"Mira Custom Display Typeface", Mira, AiArt, 1800, 0, P, 2, 0},
    {"Horizon Strategic Deck & Pitch", Horizon, Branding, 6800, 0, W, 6, 0},
    {"Velvet Cosmetic Line Packaging", Velvet, Packaging, 5400, 0, W, 6, 0},
    {"Coda Web Application UI Kit", Coda, Digital, 7100, 0, W, 5, 0},
    {"Artisan Roast Pouch Packaging", Artisan, Packaging, 5200, 0, O, 7, 0},
    {"Fintech Analytics Web Dashboard", Apex, Digital, 8000, 0, O, 7, 0},
    {"Studio Case Studies Website", Aura, Digital, 4100, 0, O, 8, 0},
    {"Nexus Health Brand System 2.0", Nexus, AiArt, 11500, 0, O, 9, 0},
    {"Orbit Motion Social Pack", Orbit, Advertising, 2300, 0, O, 9, 0},
    {"Solstice Seasonal Label Refresh", Solstice, Packaging, 7800, 0, P, 2, 1},
    {"Apex Onboarding Flow Redesign", Apex, Digital, 9600, 0, P, 3, 1},
    {"Aura Website Launch", Aura, Digital, 6200, 0, P, 4, 1},
    {"Harbour Ceramics Identity", Harbour, Branding, 5400, 0, P, 5, 1},
    {"Velo Spring Campaign", Velo, Advertising, 3800, 0, P, 5, 1},
    {"Bloom Annual Report", Bloom, Print, 4200, 0, P, 6, 1},
    {"Lumina Holiday Gift Box", Lumina, Packaging, 8900, 1200, P, 9, 1},
    {"Nexus Health Pitch Visuals", Nexus, AiArt, 3100, 0, P, 10, 1},
    {"Ember Hollow Autumn Ads", Ember, Advertising, 5200, 0, P, 10, 1},
    {"Northwind Catalogue", Northwind, Print, 4600, 0, P, 11, 1},
    {"Koto Living Packaging System", Koto, Packaging, 6700, 0, P, 12, 1},
    {"Aura Creative Studio Rebrand", Aura, Branding, 4800, 0, P, 3, 2},
    {"Fable Kitchen Menu Suite", Fable, Print, 2400, 0, P, 4, 2},
    {"Apex Marketing Site", Apex, Digital, 7200, 0, P, 6, 2},
    {"Velo Product Launch Ads", Velo, Advertising, 2900, 0, P, 7, 2},
    {"Solstice Snack Line Packaging", Solstice, Packaging, 6500, 800, P, 8, 2},
    {"Mira Audio App Icons", Mira, Digital, 1600, 0, P, 9, 2},
    {"Harbour Ceramics Lookbook", Harbour, Print, 3300, 0, P, 11, 2},
    {"Solis Wellness Brand Guide", Solis, Branding, 5100, 0, P, 12, 2},
};

} // namespace

AppData AppData::sample()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int year = now.date().year();
    AppData d;
    for (const char* c : kClients)
        d.clients.append(QString::fromUtf8(c));
    for (const char* c : kCategories)
        d.categories.append(QString::fromUtf8(c));
    d.projects.reserve(int(std::size(kRows)));
    const QDate today = now.date();
    // The pending ones owe since these many days: two overdue on 30-day terms, one not yet.
    const int owedFor[] = {48, 20, 37};
    int pendingSeen = 0;
    for (const SampleRow& r : kRows) {
        Project p;
        p.id = QUuid::createUuid();
        p.name = QString::fromUtf8(r.name);
        p.client = d.clients.at(r.client);
        p.category = d.categories.at(r.category);
        p.fee = r.fee;
        p.outsource = r.outsource;
        p.status = r.status;
        const QDateTime date(QDate(year - r.yearsAgo, r.month, 15), QTime(12, 0), Qt::LocalTime);
        p.date = date.isValid() ? date : now;
        // Payment days as a studio's year leaves them: clients pay at their own pace.
        const QDate day = p.date.toLocalTime().date();
        if (r.status == Status::paid) {
            const QDate since = day.addDays(3);
            const QDate paid = since.addDays(12 + (r.client * 7) % 35);
            if (paid <= today) {
                p.pendingSince = since;
                p.paidOn = paid;
            }
        } else if (r.status == Status::pending && pendingSeen < int(std::size(owedFor))) {
            p.pendingSince = today.addDays(-owedFor[pendingSeen++]);
            p.dueDate = p.pendingSince.addDays(AppData::kDefaultTermsDays);
        }
        d.projects.append(p);
    }
    return d;
}
