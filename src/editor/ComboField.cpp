#include "editor/ComboField.h"

#include "model/Text.h"
#include "ui/GlyphButton.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

ComboField::ComboField(const QString& placeholder, QWidget* parent)
    : FieldPlate(12, Theme::cream(), Theme::border(), parent),
      m_edit(plainLineEdit(Theme::font(12, QFont::DemiBold), this)),
      m_dropDown(new GlyphButton(
          {QStringLiteral("chevron.down"), Theme::muted(), 9, QFont::Bold, 22, QColor(), QFont()}, this)),
      m_menu(new QMenu(this))
{
    m_edit->setPlaceholderText(placeholder);
    m_edit->installEventFilter(this);
    // The keyboard opens the list from the text field (Down or Alt+Down).
    m_dropDown->setFocusPolicy(Qt::NoFocus);
    m_dropDown->setAccessibleName(QStringLiteral("Choose ") + placeholder.toLower());
    m_dropDown->setEnabled(false);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 5, 6, 5);
    row->setSpacing(0);
    row->addWidget(m_edit, 1);
    row->addWidget(m_dropDown);
    setFocusProxy(m_edit);

    connect(m_edit, &QLineEdit::textChanged, this, &ComboField::textChanged);
    connect(m_dropDown, &QAbstractButton::clicked, this, &ComboField::openMenu);
}

QString ComboField::text() const
{
    return m_edit->text();
}

void ComboField::setText(const QString& text)
{
    m_edit->setText(text);
}

void ComboField::setOptions(const QStringList& options)
{
    m_options = options;
    m_dropDown->setEnabled(!options.isEmpty());
}

void ComboField::rebuildMenu()
{
    m_menu->clear();
    for (const QString& option : std::as_const(m_options)) {
        // Entries are names, not mnemonics: an ampersand stays an ampersand.
        QAction* action =
            m_menu->addAction(Text::shown(option).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, option] {
            m_edit->setText(option);
            m_edit->setFocus(Qt::PopupFocusReason);
        });
    }
}

void ComboField::openMenu()
{
    if (m_options.isEmpty())
        return;
    rebuildMenu();
    m_menu->setMinimumWidth(width());
    m_menu->popup(mapToGlobal(QPoint(0, height() + 4)));
}

bool ComboField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Down && !m_options.isEmpty()) {
            openMenu();
            return true;
        }
    }
    return FieldPlate::eventFilter(watched, event);
}
