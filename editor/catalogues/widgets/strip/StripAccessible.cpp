#include "StripAccessible.h"

#include "LREffectWnd.h"
#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <map>

namespace {

using QemControls::CLREffectWnd;

// What the strip's cells and arrow zones share: a leaf of the strip's
// interface, pressed through the action interface.
class StripLeafAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit StripLeafAccessible(CLREffectWnd* strip) : m_strip(strip) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_strip ? QAccessible::queryAccessibleInterface(m_strip.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

protected:
    QPointer<CLREffectWnd> m_strip;
};

class StripCellAccessible : public StripLeafAccessible {
public:
    StripCellAccessible(CLREffectWnd* strip, int child) : StripLeafAccessible(strip), m_child(child) {}

    int Item() const { return m_child / 2; }
    CLREffectWnd::Kind Kind() const
    {
        return m_child % 2 ? CLREffectWnd::Kind::Transition : CLREffectWnd::Kind::Photo;
    }
    int Child() const { return m_child; }

    bool isValid() const override { return m_strip && m_strip->Album().IsValidIndex(Item()); }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || t != QAccessible::Name)
            return {};
        const AlbumModel& album = m_strip->Album();
        if (Kind() == CLREffectWnd::Kind::Photo)
            return album.Photo(Item())->label;
        return album.Effects().Entry(album.Item(Item()).effect).name;
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const StripLayout& layout = m_strip->Layout();
        const QRect cell = Kind() == CLREffectWnd::Kind::Photo ? layout.PhotoCellOf(Item())
                                                               : layout.TransitionCellOf(Item());
        return QRect(m_strip->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_strip->HasCurrentCell(Item(), Kind());
        s.focused = s.selected && m_strip->hasFocus();
        s.offscreen = !m_strip->Layout().IsVisible(Item());
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            m_strip->Select(Item(), Kind());
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    int m_child;
};

// One of the two arrow zones at the ends of the strip.
class StripArrowAccessible : public StripLeafAccessible {
public:
    StripArrowAccessible(CLREffectWnd* strip, int arrow) : StripLeafAccessible(strip), m_arrow(arrow) {}

    int Arrow() const { return m_arrow; }
    bool isValid() const override { return m_strip; }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        return m_arrow == StripLayout::kLeftArrow ? CLREffectWnd::tr("Scroll Left") : CLREffectWnd::tr("Scroll Right");
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!m_strip)
            return {};
        const int x = m_arrow == StripLayout::kLeftArrow ? 0 : m_strip->width() - StripLayout::kArrowWidth;
        return QRect(m_strip->mapToGlobal(QPoint(x, 0)), QSize(StripLayout::kArrowWidth, m_strip->height()));
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_strip) {
            s.invalid = true;
            return s;
        }
        const StripLayout& layout = m_strip->Layout();
        s.disabled = m_arrow == StripLayout::kLeftArrow ? layout.AtStart() : layout.AtEnd();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && m_strip)
            m_strip->ScrollOneSlot(m_arrow);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    int m_arrow;
};

class StripAccessible : public QAccessibleWidget {
public:
    explicit StripAccessible(CLREffectWnd* strip) : QAccessibleWidget(strip, QAccessible::List) {}
    ~StripAccessible() override
    {
        DropFrom(0);
        for (QAccessible::Id id : m_arrows)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    CLREffectWnd* Strip() const { return static_cast<CLREffectWnd*>(widget()); }
    int CellCount() const { return 2 * Strip()->Album().Count(); }
    int childCount() const override { return CellCount() + 2; }
    QAccessibleInterface* child(int index) const override
    {
        const int count = CellCount();
        DropFrom(count);
        if (index == count || index == count + 1) {
            QAccessible::Id& id = m_arrows[index - count];
            if (!id)
                id = QAccessible::registerAccessibleInterface(new StripArrowAccessible(Strip(), index - count + 1));
            return QAccessible::accessibleInterface(id);
        }
        if (index < 0 || index >= count)
            return nullptr;
        auto it = m_cells.find(index);
        if (it == m_cells.end())
            it = m_cells.emplace(index, QAccessible::registerAccessibleInterface(
                                            new StripCellAccessible(Strip(), index))).first;
        return QAccessible::accessibleInterface(it->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (const auto* arrow = dynamic_cast<const StripArrowAccessible*>(child))
            return CellCount() + arrow->Arrow() - 1;
        const auto* cell = dynamic_cast<const StripCellAccessible*>(child);
        return cell && cell->Child() < CellCount() ? cell->Child() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = Strip()->mapFromGlobal(QPoint(x, y));
        if (!Strip()->rect().contains(local))
            return nullptr;
        const int zone = Strip()->Layout().ArrowZone(local);
        if (zone != -1)
            return child(CellCount() + zone - 1);
        const StripLayout::Hit hit = Strip()->HitTest(local);
        if (hit.cell == StripLayout::Cell::None)
            return nullptr;
        return child(2 * hit.index + (hit.cell == StripLayout::Cell::Transition ? 1 : 0));
    }
    QAccessibleInterface* focusChild() const override
    {
        const int current = Strip()->CurrentIndex();
        if (!Strip()->hasFocus() || current < 0)
            return nullptr;
        return child(2 * current + (Strip()->HasCurrentCell(current, CLREffectWnd::Kind::Transition) ? 1 : 0));
    }

private:
    void DropFrom(int first) const
    {
        for (auto it = m_cells.lower_bound(first); it != m_cells.end();) {
            QAccessible::deleteAccessibleInterface(it->second);
            it = m_cells.erase(it);
        }
    }
    mutable std::map<int, QAccessible::Id> m_cells;
    mutable QAccessible::Id m_arrows[2] = {0, 0};
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (auto* strip = qobject_cast<CLREffectWnd*>(object))
        return new StripAccessible(strip);
    return nullptr;
}

} // namespace

void InstallStripAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&Factory);
}
