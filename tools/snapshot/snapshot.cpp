// Renders a piece of the visual kit offscreen into a PNG, to look at it without a desktop.
// Usage: tb_snapshot NAME OUTPUT.png [--scale 2] [--lang tr]
//        tb_snapshot --list
#include "Isolation.h"
#include "model/Store.h"
#include "ui/CountBadge.h"
#include "ui/CreamScroller.h"
#include "ui/Eyebrow.h"
#include "ui/Icons.h"
#include "ui/InkButton.h"
#include "ui/InvalidOutline.h"
#include "ui/LogoView.h"
#include "ui/OutlineButton.h"
#include "ui/PanelFrame.h"
#include "ui/PillSegment.h"
#include "ui/ProgressTrack.h"
#include "ui/Theme.h"
#include "ui/YearMenu.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>

namespace {
using Builder = std::function<QWidget*(Store*)>;

QWidget* page()
{
    auto* w = new QWidget;
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Theme::cream());
    w->setPalette(p);
    return w;
}

QWidget* header(Store* store)
{
    auto* w = page();
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(24, 14, 24, 14);
    row->addWidget(new LogoView(132));
    row->addStretch();
    auto* tabs = new PillSegment;
    QVector<PillSegment::Option> options;
    for (MainTab tab : MainTabInfo::all)
        options.append({int(tab), store->tabTitle(tab), {}});
    tabs->setOptions(options);
    tabs->setSelection(0);
    row->addWidget(tabs);
    row->addStretch();
    row->addWidget(new YearMenu(*store));
    row->addWidget(new InkButton(store->tr(QStringLiteral("New Project"), QStringLiteral("Yeni Proje")),
                                 QStringLiteral("plus")));
    return w;
}

QWidget* controls(Store* store)
{
    auto* w = page();
    auto* col = new QVBoxLayout(w);
    col->setContentsMargins(24, 24, 24, 24);
    col->setSpacing(16);

    auto* labels = new QHBoxLayout;
    labels->addWidget(new Eyebrow(QStringLiteral("Earned in this year"), Theme::muted(), store));
    labels->addWidget(new CountBadge(QStringLiteral("3")));
    labels->addWidget(new CountBadge(QStringLiteral("12 projects")));
    labels->addStretch();
    col->addLayout(labels);

    for (double v : {0.0, 0.35, 1.0}) {
        auto* track = new ProgressTrack(v, 6);
        track->setFixedWidth(240);
        col->addWidget(track);
    }

    auto* pills = new QHBoxLayout;
    auto* layout = new PillSegment;
    layout->setCompact(true);
    layout->setOptions({{0, store->tr(QStringLiteral("Columns"), QStringLiteral("Sütunlar")),
                         QStringLiteral("rectangle.split.3x1")},
                        {1, store->tr(QStringLiteral("Rows"), QStringLiteral("Satırlar")),
                         QStringLiteral("list.bullet.rectangle")}});
    layout->setSelection(1);
    pills->addWidget(layout);
    auto* none = new PillSegment;
    none->setOptions({{0, QStringLiteral("English"), {}}, {1, QStringLiteral("Türkçe"), {}}});
    none->setSelection(7); // not among the options: no capsule
    pills->addWidget(none);
    pills->addStretch();
    col->addLayout(pills);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new InkButton(store->tr(QStringLiteral("Save"), QStringLiteral("Kaydet"))));
    auto* pressed = new InkButton(QStringLiteral("Pressed"));
    pressed->setDown(true);
    buttons->addWidget(pressed);
    buttons->addWidget(new OutlineButton(store->tr(QStringLiteral("Cancel"), QStringLiteral("Vazgeç"))));
    auto* pressedOutline = new OutlineButton(QStringLiteral("Pressed"), QStringLiteral("trash"));
    pressedOutline->setDown(true);
    buttons->addWidget(pressedOutline);
    buttons->addStretch();
    col->addLayout(buttons);

    auto* panelRow = new QHBoxLayout;
    auto* panel = new PanelFrame(18, 18);
    panel->body()->setSpacing(6);
    panel->body()->addWidget(new Eyebrow(QStringLiteral("Net after tax"), Theme::muted(), store));
    auto* amount = new QLabel(store->money(12840));
    amount->setFont(Theme::font(24, QFont::ExtraBold));
    panel->body()->addWidget(amount);
    panel->body()->addWidget(new ProgressTrack(0.62, 6));
    panel->setFixedWidth(260);
    panelRow->addWidget(panel);
    panelRow->addSpacing(24);
    auto* field = new QLineEdit(QStringLiteral("12,5x"));
    field->setFixedSize(180, 36);
    setInvalid(field, true);
    panelRow->addWidget(field, 0, Qt::AlignTop);
    panelRow->addStretch();
    col->addLayout(panelRow);
    col->addSpacing(24);
    return w;
}

QWidget* icons(Store*)
{
    auto* w = page();
    auto* grid = new QGridLayout(w);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(14);
    int i = 0;
    for (const QString& s : Icons::symbols()) {
        auto* icon = new QLabel;
        icon->setPixmap(Icons::pixmap(s, Theme::ink(), 20, 2));
        auto* name = new QLabel(s);
        name->setFont(Theme::font(10));
        grid->addWidget(icon, i / 3, (i % 3) * 2);
        grid->addWidget(name, i / 3, (i % 3) * 2 + 1);
        ++i;
    }
    return w;
}

QWidget* scroller(Store*)
{
    auto* w = page();
    auto* row = new QHBoxLayout(w);
    for (bool hover : {false, true}) {
        auto* area = new QScrollArea;
        auto* content = new QLabel(QStringLiteral("Long page\n").repeated(40));
        content->setContentsMargins(12, 12, 12, 12);
        area->setWidget(content);
        creamScroller(area);
        area->setFixedSize(200, 240);
        if (hover) {
            // Shown as if the pointer rested on it.
            QEnterEvent enter(QPointF(6, 20), QPointF(6, 20), QPointF(6, 20));
            QApplication::sendEvent(area->verticalScrollBar(), &enter);
        }
        row->addWidget(area);
    }
    return w;
}

QWidget* kit(Store* store)
{
    auto* w = page();
    auto* col = new QVBoxLayout(w);
    col->setContentsMargins(0, 0, 0, 0);
    col->addWidget(header(store));
    col->addWidget(controls(store));
    return w;
}

const QMap<QString, Builder>& builders()
{
    static const QMap<QString, Builder> map{{QStringLiteral("kit"), kit},
                                            {QStringLiteral("header"), header},
                                            {QStringLiteral("controls"), controls},
                                            {QStringLiteral("icons"), icons},
                                            {QStringLiteral("scroller"), scroller},
                                            {QStringLiteral("logo"), [](Store*) {
                                                 auto* w = page();
                                                 auto* col = new QVBoxLayout(w);
                                                 col->addWidget(new LogoView(300));
                                                 col->addWidget(new LogoView(132));
                                                 col->addWidget(new LogoView(110, QImage()));
                                                 return w;
                                             }}};
    return map;
}
} // namespace

int main(int argc, char** argv)
{
    // The store below reads and writes preferences: those of a throwaway home, never the user's.
    if (!Isolation::isolate(Isolation::Extra::offscreen))
        return 1;
    QApplication app(argc, argv);
    Theme::applyLightLook(app);

    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--list")) || args.size() < 2) {
        std::fprintf(args.size() < 2 && !args.contains(QStringLiteral("--list")) ? stderr : stdout,
                     "usage: tb_snapshot NAME OUTPUT.png [--scale N] [--lang tr]\nnames: %s\n",
                     qPrintable(builders().keys().join(QStringLiteral(", "))));
        return args.contains(QStringLiteral("--list")) ? 0 : 2;
    }
    const auto builder = builders().value(args[0]);
    if (!builder) {
        std::fprintf(stderr, "unknown name %s\n", qPrintable(args[0]));
        return 2;
    }
    qreal scale = 1;
    const int scaleAt = args.indexOf(QStringLiteral("--scale"));
    if (scaleAt >= 0 && scaleAt + 1 < args.size())
        scale = std::clamp(args[scaleAt + 1].toDouble(), 1.0, 4.0);

    // A sample store that never touches the user's data.
    QTemporaryDir dir;
    Store store(dir.path(), true);
    if (args.contains(QStringLiteral("--lang")) &&
        args.value(args.indexOf(QStringLiteral("--lang")) + 1) == "tr")
        store.setLanguage(AppLanguage::tr);

    QWidget* widget = builder(&store);
    widget->adjustSize();
    widget->show();
    QApplication::processEvents();
    QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    widget->render(&image);
    const bool ok = image.save(args[1], "PNG");
    delete widget;
    if (!ok) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
