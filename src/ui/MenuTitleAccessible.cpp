#include "ui/MenuTitleAccessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

MenuTitleAccessible::MenuTitleAccessible(QMenuBar *bar, QAction *action) : bar_(bar), action_(action) {}

QAccessibleInterface *MenuTitleAccessible::factory(const QString &className, QObject *object)
{
    auto *action = qobject_cast<QAction *>(object);
    if (className != QLatin1String("QAction") || !action || !action->menu()
        || action->menu()->accessibleName().isEmpty())
        return nullptr;
    for (QObject *owner : action->associatedObjects()) {
        if (auto *bar = qobject_cast<QMenuBar *>(owner))
            return new MenuTitleAccessible(bar, action);
    }
    return nullptr;
}

bool MenuTitleAccessible::isValid() const
{
    return bar_ && action_;
}

QObject *MenuTitleAccessible::object() const
{
    return action_;
}

QWindow *MenuTitleAccessible::window() const
{
    return bar_ ? bar_->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MenuTitleAccessible::parent() const
{
    return bar_ ? QAccessible::queryAccessibleInterface(bar_) : nullptr;
}

QAccessibleInterface *MenuTitleAccessible::child(int index) const
{
    return index == 0 && isValid() ? QAccessible::queryAccessibleInterface(action_->menu()) : nullptr;
}

int MenuTitleAccessible::childCount() const
{
    return isValid() && action_->menu() ? 1 : 0;
}

int MenuTitleAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && isValid() && child->object() == action_->menu() ? 0 : -1;
}

QAccessibleInterface *MenuTitleAccessible::childAt(int, int) const
{
    return nullptr;
}

QString MenuTitleAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    if (t == QAccessible::Name)
        return action_->menu()->accessibleName();
    if (t == QAccessible::Accelerator) {
        // The title's shortcut: Alt and the letter after "&".
        const QString caption = action_->text();
        const qsizetype amp = caption.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < caption.size())
            return QStringLiteral("Alt+") + caption.at(amp + 1).toUpper();
    }
    return QString();
}

void MenuTitleAccessible::setText(QAccessible::Text, const QString &) {}

QRect MenuTitleAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect r = bar_->actionGeometry(action_);
    return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::Role MenuTitleAccessible::role() const
{
    return QAccessible::MenuItem;
}

QAccessible::State MenuTitleAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.focusable = true;
    s.hasPopup = true;
    s.disabled = !action_->isEnabled();
    s.invisible = !action_->isVisible() || !bar_->isVisible();
    if (bar_->activeAction() == action_) {
        s.focused = true;
        s.hotTracked = true;
    }
    s.expanded = action_->menu()->isVisible();
    return s;
}

void *MenuTitleAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList MenuTitleAccessible::actionNames() const
{
    return {showMenuAction()};
}

void MenuTitleAccessible::doAction(const QString &actionName)
{
    if (isValid() && actionName == showMenuAction())
        bar_->setActiveAction(action_);
}

QStringList MenuTitleAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}
