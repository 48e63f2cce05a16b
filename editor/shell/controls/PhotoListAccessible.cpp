#include "PhotoListAccessible.h"

#include "PhotoListCtrl.h"

#include <QWidget>
#include <QWindow>

PhotoListAccessible::PhotoListAccessible(CPhotoListCtrl* list)
    : QAccessibleWidget(list, QAccessible::List)
{
}

PhotoListAccessible::~PhotoListAccessible()
{
    DropItemsFrom(0);
}

CPhotoListCtrl* PhotoListAccessible::List() const
{
    return static_cast<CPhotoListCtrl*>(widget());
}

void PhotoListAccessible::DropItemsFrom(int first) const
{
    for (auto it = m_items.lower_bound(first); it != m_items.end();) {
        QAccessible::deleteAccessibleInterface(it->second);
        it = m_items.erase(it);
    }
}

int PhotoListAccessible::childCount() const
{
    return List()->Count();
}

QAccessibleInterface* PhotoListAccessible::child(int index) const
{
    const int count = List()->Count();
    DropItemsFrom(count);
    if (index < 0 || index >= count)
        return nullptr;
    auto it = m_items.find(index);
    if (it == m_items.end())
        it = m_items.emplace(index, QAccessible::registerAccessibleInterface(
                                        new PhotoListItemAccessible(List(), index))).first;
    return QAccessible::accessibleInterface(it->second);
}

int PhotoListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const PhotoListItemAccessible*>(child);
    return item && item->Index() < List()->Count() ? item->Index() : -1;
}

QAccessibleInterface* PhotoListAccessible::childAt(int x, int y) const
{
    const QPoint client = List()->viewport()->mapFromGlobal(QPoint(x, y));
    return child(List()->HitTest(client));
}

QAccessibleInterface* PhotoListAccessible::focusChild() const
{
    if (!List()->hasFocus())
        return nullptr;
    return child(List()->FocusItem());
}

PhotoListItemAccessible::PhotoListItemAccessible(CPhotoListCtrl* list, int index)
    : m_list(list)
    , m_index(index)
{
}

bool PhotoListItemAccessible::isValid() const
{
    return m_list && m_index >= 0 && m_index < m_list->Count();
}

QWindow* PhotoListItemAccessible::window() const
{
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* PhotoListItemAccessible::parent() const
{
    return m_list ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
}

QString PhotoListItemAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name:
        return m_list->AccessibleName(m_index);
    case QAccessible::Description:
        return m_list->AccessibleDescription(m_index);
    default:
        return {};
    }
}

QRect PhotoListItemAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect cell = m_list->CellRect(m_index);
    return QRect(m_list->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::State PhotoListItemAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.selectable = true;
    s.focusable = true;
    s.selected = m_list->IsSelected(m_index);
    s.focused = m_list->hasFocus() && m_list->FocusItem() == m_index;
    s.offscreen = !m_list->viewport()->rect().intersects(m_list->CellRect(m_index));
    return s;
}

void* PhotoListItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList PhotoListItemAccessible::actionNames() const
{
    return {pressAction(), toggleAction()};
}

void PhotoListItemAccessible::doAction(const QString& name)
{
    if (!isValid())
        return;
    if (name == pressAction()) {
        m_list->ClearSelection();
        m_list->Select(m_index);
        m_list->SetFocusItem(m_index);
        m_list->EnsureVisible(m_index);
    } else if (name == toggleAction()) {
        m_list->Select(m_index, true);
    }
}

namespace {

QAccessibleInterface* PhotoListFactory(const QString&, QObject* object)
{
    if (auto* list = qobject_cast<CPhotoListCtrl*>(object))
        return new PhotoListAccessible(list);
    return nullptr;
}

} // namespace

void InstallPhotoListAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&PhotoListFactory);
}

void AnnouncePhotoListSelection(QWidget* list, const std::vector<int>& added, const std::vector<int>& removed)
{
    if (!QAccessible::isActive() || (added.empty() && removed.empty()))
        return;
    // A large change (select all, clearing a long list) as one event.
    constexpr size_t kOneByOne = 64;
    if (added.size() + removed.size() > kOneByOne) {
        QAccessibleEvent event(list, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
        return;
    }
    for (const auto& [indices, type] : {std::pair{&added, QAccessible::SelectionAdd},
                                        std::pair{&removed, QAccessible::SelectionRemove}})
        for (int index : *indices) {
            QAccessibleEvent event(list, type);
            event.setChild(index);
            QAccessible::updateAccessibility(&event);
        }
}

void AnnouncePhotoListFocus(QWidget* list, int index)
{
    if (!QAccessible::isActive() || index < 0)
        return;
    QAccessibleEvent event(list, QAccessible::Focus);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}
