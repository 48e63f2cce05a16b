#include "editor/shell/frame/TabStripAccessible.h"

#include "editor/shell/frame/QemTabCtrl.h"

#include <QAccessibleWidget>

class TabStripAccessible;

namespace {

class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(CQemTabCtrl* strip, int index) : m_strip(strip), m_index(index) {}

    bool isValid() const override { return m_strip && m_index < m_strip->Rules().Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_strip); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Description))
            return QString();
        return t == QAccessible::Name ? CQemTabCtrl::SpokenCaption(m_strip->Rules().At(m_index).caption) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = m_strip->TabRect(m_index);
        return QRect(m_strip->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        const StepTabRules::Tab& tab = m_strip->Rules().At(m_index);
        s.selectable = true;
        s.selected = tab.selected;
        s.invisible = !tab.visible || !m_strip->isVisible();
        s.focusable = true;
        s.focused = tab.selected && m_strip->hasFocus();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<CQemTabCtrl> m_strip;
    int m_index;
};

} // namespace

class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(CQemTabCtrl* strip) : QAccessibleWidget(strip, QAccessible::PageTabList) {}
    ~TabStripAccessible() override
    {
        for (QAccessible::Id id : m_children)
            QAccessible::deleteAccessibleInterface(id);
    }

    CQemTabCtrl* strip() const { return static_cast<CQemTabCtrl*>(widget()); }
    int childCount() const override { return strip()->Rules().Count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (int(m_children.size()) <= index) {
            auto* tab = new TabAccessible(strip(), int(m_children.size()));
            m_children.push_back(QAccessible::registerAccessibleInterface(tab));
        }
        return QAccessible::accessibleInterface(m_children[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < int(m_children.size()); ++i)
            if (QAccessible::accessibleInterface(m_children[size_t(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = strip()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i)
            if (strip()->TabRect(i).contains(local))
                return child(i);
        return nullptr;
    }
    static void activate(CQemTabCtrl* strip, int index) { strip->activate(index); }

private:
    mutable std::vector<QAccessible::Id> m_children;
};

void TabAccessible::doAction(const QString& name)
{
    if (name == pressAction() && isValid())
        TabStripAccessible::activate(m_strip, m_index);
}

namespace {
QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CQemTabCtrl") && object && object->isWidgetType())
        return new TabStripAccessible(static_cast<CQemTabCtrl*>(object));
    return nullptr;
}
} // namespace

void InstallTabStripAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(Factory);
        installed = true;
    }
}
