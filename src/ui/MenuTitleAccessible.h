#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>

class QAction;
class QMenuBar;

// A menu's title in the menu bar, as screen readers get it: named after its menu's
// accessible name when the menu has one, so that the menu shown as "?" is said "Aide".
// Qt names a menu-bar title after its caption only, with no way to name it otherwise;
// this stands in for Qt's own item and behaves like it: the menu is its child, and it
// opens the menu when asked.
class MenuTitleAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MenuTitleAccessible(QMenuBar *bar, QAction *action);

    // For QAccessible::installFactory: this interface for a menu-bar title whose menu has
    // an accessible name, nothing for anything else.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QPointer<QMenuBar> bar_;
    QPointer<QAction> action_;
};
