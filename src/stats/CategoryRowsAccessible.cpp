#include "stats/CategoryRowsAccessible.h"

#include "stats/CategoryRowsView.h"
#include "stats/StatsFigures.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

namespace {

class CategoryBarAccessible final : public QAccessibleInterface, public QAccessibleValueInterface
{
public:
    CategoryBarAccessible(CategoryRowsView* view, int position) : m_view(view), m_position(position) {}

    bool isValid() const override { return m_view && m_position < m_view->shown().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ProgressBar; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !isValid() || !m_view->isVisible();
        return s;
    }
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_view->nameText(m_position);
        if (t == QAccessible::Value)
            return m_view->figuresText(m_position);
        return {};
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_view->rowRect(m_position).toAlignedRect();
        return QRect(m_view->mapToGlobal(r.topLeft()), r.size());
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    }

    QVariant currentValue() const override
    {
        if (!isValid())
            return 0.0;
        return 100 * StatsFigures::share(m_view->shown().at(m_position).amount, m_view->gross());
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    QPointer<CategoryRowsView> m_view;
    int m_position;
};

class RowsAccessible final : public QAccessibleWidget
{
public:
    explicit RowsAccessible(CategoryRowsView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~RowsAccessible() override
    {
        for (const QAccessible::Id id : m_bars) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return int(view()->shown().size()); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount() || index >= CategoryRowsView::kRows)
            return nullptr;
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(m_bars[index]))
            return known;
        auto* made = new CategoryBarAccessible(view(), index);
        m_bars[index] = QAccessible::registerAccessibleInterface(made);
        return made;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QAccessible::Id id =
            child ? QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) : 0;
        for (int i = 0; i < CategoryRowsView::kRows; ++i) {
            if (id && m_bars[i] == id)
                return i;
        }
        return -1;
    }

private:
    CategoryRowsView* view() const { return static_cast<CategoryRowsView*>(widget()); }

    mutable QAccessible::Id m_bars[CategoryRowsView::kRows] = {};
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CategoryRowsView") && object && object->isWidgetType())
        return new RowsAccessible(static_cast<CategoryRowsView*>(object));
    return nullptr;
}

} // namespace

namespace CategoryRowsAccessible {
void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
} // namespace CategoryRowsAccessible
