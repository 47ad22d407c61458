// Renders the main window on each tab and the tray panel offscreen into PNG files, from a copy
// of a data file, so the whole application can be looked at without a desktop.
// Usage: tb_window_snapshot [--data FILE] --out DIR [--lang en|tr|both] [--scale N] [--year YYYY] [--size
// WxH]
#include "Isolation.h"
#include "app/ImportSheet.h"
#include "app/MenuBarPanel.h"
#include "board/ChasePopover.h"
#include "board/SummaryPanel.h"
#include "model/DataFile.h"
#include "model/Store.h"
#include "settings/PopUpButton.h"
#include "ui/Animations.h"
#include "ui/Theme.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
const char kUsage[] =
    "usage: tb_window_snapshot [--data FILE] --out DIR [--lang en|tr|both] [--scale N] "
    "[--year YYYY] [--size WxH]\n"
    "Writes DIR/board-LANG.png, stats-LANG.png, settings-LANG.png, settings-folder-LANG.png (scrolled\n"
    "to the data folder) and panel-LANG.png.\n"
    "Without --data the sample studio is shown. The given file is copied, never written.\n";

struct Options
{
    QString data;
    QString out;
    QStringList languages{QStringLiteral("en")};
    double scale = 1;
    int year = 0;
    QSize size;
};

// Read before QApplication exists: the scale has to be in the environment by then.
std::optional<Options> parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const QString value = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return std::nullopt;
        if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "%s needs a value\n", qPrintable(arg));
            return std::nullopt;
        }
        ++i;
        if (arg == QLatin1String("--data")) {
            o.data = value;
        } else if (arg == QLatin1String("--out")) {
            o.out = value;
        } else if (arg == QLatin1String("--lang")) {
            if (value == QLatin1String("both"))
                o.languages = {QStringLiteral("en"), QStringLiteral("tr")};
            else if (value == QLatin1String("en") || value == QLatin1String("tr"))
                o.languages = {value};
            else {
                std::fprintf(stderr, "--lang takes en, tr or both\n");
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--scale")) {
            bool ok = false;
            o.scale = value.toDouble(&ok);
            if (!ok || o.scale < 1 || o.scale > 4) {
                std::fprintf(stderr, "--scale takes a number from 1 to 4\n");
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            o.size = parts.size() == 2 ? QSize(parts[0].toInt(&okW), parts[1].toInt(&okH)) : QSize();
            if (!okW || !okH || o.size.width() < 1 || o.size.height() < 1) {
                std::fprintf(stderr, "--size takes WIDTHxHEIGHT such as 1040x680\n");
                return std::nullopt;
            }
        } else if (arg == QLatin1String("--year")) {
            bool ok = false;
            o.year = value.toInt(&ok);
            if (!ok || o.year < 1900 || o.year > 9999) {
                std::fprintf(stderr, "--year takes a year such as 2024\n");
                return std::nullopt;
            }
        } else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(arg));
            return std::nullopt;
        }
    }
    if (o.out.isEmpty()) {
        std::fprintf(stderr, "--out is required\n");
        return std::nullopt;
    }
    return o;
}

// Lets layouts, deferred rebuilds and the first paint happen before a picture is taken.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool write(QWidget* widget, const QString& path)
{
    settle();
    if (!widget->grab().save(path, "PNG")) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

const char* tabName(MainTab tab)
{
    switch (tab) {
    case MainTab::board:
        return "board";
    case MainTab::stats:
        return "stats";
    case MainTab::settings:
        return "settings";
    }
    return "tab";
}
} // namespace

int main(int argc, char** argv)
{
    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    // Preferences and the data folder of this run live in a throwaway home, never the user's;
    // no network, so the pictures show the built-in rate, the same on every run.
    if (!Isolation::isolate(Isolation::Extra::offscreen))
        return 1;
    if (options->scale != 1)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(options->scale));

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallybrook"));
    QApplication::setApplicationName(QStringLiteral("Tallybrook"));
    Theme::applyLightLook(app);
    Animations::setEnabled(false); // pictures of the settled state, not of a spring in flight

    const QString dataFolder = Isolation::home().path() + QStringLiteral("/store");
    const QString copy = dataFolder + QStringLiteral("/tallybrook.json");
    if (!options->data.isEmpty()) {
        QFile source(options->data);
        if (!source.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(options->data),
                         qPrintable(source.errorString()));
            return 1;
        }
        const QByteArray bytes = source.readAll();
        QString error;
        if (!DataFile::decode(bytes, &error)) {
            std::fprintf(stderr, "%s is not a Tallybrook data file: %s\n", qPrintable(options->data),
                         qPrintable(error));
            return 1;
        }
        QFile target(copy);
        if (!QDir().mkpath(dataFolder) || !target.open(QIODevice::WriteOnly) ||
            target.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot copy the data file into %s\n", qPrintable(dataFolder));
            return 1;
        }
    }
    if (!QDir().mkpath(options->out)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(options->out));
        return 1;
    }

    Store store(dataFolder, options->data.isEmpty());
    if (!options->data.isEmpty() && QFileInfo(store.fileURL()) != QFileInfo(copy)) {
        std::fprintf(stderr, "the store does not read %s\n", qPrintable(copy));
        return 1;
    }
    if (options->year)
        store.setActiveYear(options->year);
    store.ui().setToast(std::nullopt); // a load notice would cover part of the board

    const QDir out(options->out);
    bool ok = true;
    for (const QString& language : options->languages) {
        store.setLanguage(language == QLatin1String("tr") ? AppLanguage::tr : AppLanguage::en);

        auto window = std::make_unique<MainWindow>(store);
        window->resize(options->size.isValid() ? options->size : MainWindow::kDefaultSize);
        window->show();
        for (MainTab tab : MainTabInfo::all) {
            store.ui().setTab(tab);
            ok &= write(window.get(),
                        out.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(tabName(tab)), language)));
        }
        // The settings page again, scrolled to the data folder and backups cards below the fold.
        store.ui().setTab(MainTab::settings);
        if (auto* card = window->findChild<QWidget*>(QStringLiteral("dataFolderCard"))) {
            for (QWidget* w = card->parentWidget(); w; w = w->parentWidget()) {
                if (auto* area = qobject_cast<QScrollArea*>(w)) {
                    area->ensureWidgetVisible(card, 0, 24);
                    break;
                }
            }
            ok &= write(window.get(), out.filePath(QStringLiteral("settings-folder-%1.png").arg(language)));
        }

        // The board as rows, the chase list over it, and the editor of the most overdue project.
        store.ui().setTab(MainTab::board);
        const BoardLayout layout = store.data().layout;
        store.setBoardLayout(BoardLayout::table);
        ok &= write(window.get(), out.filePath(QStringLiteral("board-rows-%1.png").arg(language)));
        store.setBoardLayout(layout);
        settle();
        const Payments::Overdue overdue = store.overdue();
        auto* summary = window->findChild<SummaryPanel*>();
        if (summary && overdue.count > 0) {
            summary->openChaseList();
            if (ChasePopover* chase = summary->chaseList()) {
                ok &= write(chase, out.filePath(QStringLiteral("chase-%1.png").arg(language)));
                chase->close();
            }
            store.ui().setEditor(EditorTarget::edit(overdue.projects.first().project.id));
            settle();
            if (auto* editor = window->findChild<QWidget*>(QStringLiteral("projectEditor")))
                ok &= write(editor->window(), out.filePath(QStringLiteral("editor-%1.png").arg(language)));
            store.ui().setEditor(std::nullopt);
        }
        // The import preview of a spreadsheet's file, with a status to map and rows it cannot read.
        {
            const QByteArray csv = "Name;Client;Category;Fee;Status;Date\r\n"
                                   "Spring Catalogue;Meridian Books;Print;4.800,00;Paid;12.03.2025\r\n"
                                   "Shop Redesign;Northwind Tea;Web;12.500,00;Pending;02.04.2025\r\n"
                                   "Label Series;Northwind Tea;Packaging;2.350,50;On hold;18.04.2025\r\n"
                                   "Brand Audit;Atlas Studio;Branding;1.200,00;In the works;31.02.2025\r\n"
                                   "Poster Set;Meridian Books;Print;-300,00;Paid;05.05.2025\r\n"
                                   "Annual Report;Atlas Studio;Print;6.900,00;Paid;20.05.2025\r\n";
            ImportSheet sheet(store, csv, QStringLiteral("studio-2025.csv"), window.get());
            sheet.show();
            ok &= write(&sheet, out.filePath(QStringLiteral("import-%1.png").arg(language)));
            if (!sheet.statusPickers().isEmpty()) {
                QComboBox* status = sheet.statusPickers().first();
                status->setCurrentIndex(status->findData(int(Status::pending)));
                emit status->activated(status->currentIndex());
                ok &= write(&sheet, out.filePath(QStringLiteral("import-ready-%1.png").arg(language)));
            }
        }
        window.reset();
        store.ui().setTab(MainTab::board);

        MenuBarPanel panel(store, [] {});
        panel.adjustSize();
        panel.show();
        ok &= write(&panel, out.filePath(QStringLiteral("panel-%1.png").arg(language)));
        panel.hide();
    }
    return ok ? 0 : 1;
}
