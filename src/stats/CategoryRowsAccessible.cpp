#include "stats/CategoryRowsAccessible.h"

#include "stats/CategoryRowsView.h"
#include "ui/AccessibleKit.h"

#include <QAccessibleWidget>
#include <QWindow>

namespace {

class CategoryBarAccessible final : public AccessibleKit::PaintedPart, public QAccessibleValueInterface
{
public:
    CategoryBarAccessible(CategoryRowsView* view, int position) : PaintedPart(view), m_position(position) {}

    bool isValid() const override { return owner() && m_position < view()->shown().size(); }
    QAccessible::Role role() const override { return QAccessible::ProgressBar; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !isValid() || !view()->isVisible();
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return view()->nameText(m_position);
        if (t == QAccessible::Value)
            return view()->figuresText(m_position);
        return {};
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = view()->rowRect(m_position).toAlignedRect();
        return QRect(view()->mapToGlobal(r.topLeft()), r.size());
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    }

    QVariant currentValue() const override
    {
        if (!isValid())
            return 0.0;
        return 100 * view()->share(m_position);
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    CategoryRowsView* view() const { return static_cast<CategoryRowsView*>(owner()); }

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

} // namespace

namespace CategoryRowsAccessible {
void install()
{
    AccessibleKit::install<CategoryRowsView, RowsAccessible>();
}
} // namespace CategoryRowsAccessible
