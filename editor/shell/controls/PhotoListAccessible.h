// Screen-reader view of the thumbnail list: the list is a List whose
// children are its items, each a ListItem named by its label, with its
// selected and focused states and its cell on the screen. Qt 6.4 has no
// public selection interface, so the selection shows through the item states
// and each item offers the "press" (select it alone) and "toggle" actions.
#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <vector>

class CPhotoListCtrl;

class PhotoListAccessible : public QAccessibleWidget {
public:
    explicit PhotoListAccessible(CPhotoListCtrl* list);
    ~PhotoListAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    CPhotoListCtrl* List() const;
    // Item interfaces are made on demand and kept until the list shrinks.
    void DropItemsFrom(int first) const;
    mutable std::map<int, QAccessible::Id> m_items;
};

class PhotoListItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PhotoListItemAccessible(CPhotoListCtrl* list, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Index() const { return m_index; }

private:
    QPointer<CPhotoListCtrl> m_list;
    int m_index;
};

// Registers the factory that gives every CPhotoListCtrl the interface above;
// called once at start-up (further calls do nothing).
void InstallPhotoListAccessibility();

// Tell screen readers what changed in a list; nothing while none listens.
void AnnouncePhotoListSelection(QWidget* list, const std::vector<int>& added, const std::vector<int>& removed);
void AnnouncePhotoListFocus(QWidget* list, int index);
