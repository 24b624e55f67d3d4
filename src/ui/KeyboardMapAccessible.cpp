#include "ui/KeyboardMapAccessible.h"

#include "ui/KeyboardMapView.h"
#include "ui/SpokenText.h"

KeyboardMapAccessible::KeyboardMapAccessible(KeyboardMapView *map)
    : QAccessibleWidget(map, QAccessible::List)
{
}

KeyboardMapAccessible::~KeyboardMapAccessible()
{
    for (QAccessible::Id id : std::as_const(keys_))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *KeyboardMapAccessible::factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("KeyboardMapView") && object && object->isWidgetType())
        return new KeyboardMapAccessible(static_cast<KeyboardMapView *>(object));
    return nullptr;
}

KeyboardMapView *KeyboardMapAccessible::map() const
{
    return static_cast<KeyboardMapView *>(widget());
}

int KeyboardMapAccessible::childCount() const
{
    return int(map()->figures().size());
}

QAccessibleInterface *KeyboardMapAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto found = keys_.constFind(index);
    if (found != keys_.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *key = new KeyboardKeyAccessible(map(), index);
    keys_.insert(index, QAccessible::registerAccessibleInterface(key));
    return key;
}

int KeyboardMapAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *key = dynamic_cast<const KeyboardKeyAccessible *>(child);
    if (!key || key->map() != map() || key->index() >= childCount())
        return -1;
    return key->index();
}

QAccessibleInterface *KeyboardMapAccessible::childAt(int x, int y) const
{
    return child(map()->keyAt(QPointF(map()->mapFromGlobal(QPoint(x, y)))));
}

QAccessibleInterface *KeyboardMapAccessible::focusChild() const
{
    return map()->hasFocus() ? child(map()->currentKey()) : nullptr;
}

KeyboardKeyAccessible::KeyboardKeyAccessible(KeyboardMapView *map, int index)
    : map_(map)
    , index_(index)
{
}

bool KeyboardKeyAccessible::isValid() const
{
    return map_ && index_ < map_->figures().size();
}

QWindow *KeyboardKeyAccessible::window() const
{
    return map_ && map_->window() ? map_->window()->windowHandle() : nullptr;
}

QAccessibleInterface *KeyboardKeyAccessible::parent() const
{
    return map_ ? QAccessible::queryAccessibleInterface(map_.data()) : nullptr;
}

QString KeyboardKeyAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return QString();
    return map_->spokenKey(index_);
}

QRect KeyboardKeyAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect local = map_->keyRect(index_).toAlignedRect();
    return QRect(map_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State KeyboardKeyAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.focusable = true;
    s.selectable = true;
    const bool current = index_ == map_->currentKey();
    s.selected = current;
    s.focused = current && map_->hasFocus();
    s.invisible = !map_->isVisible();
    return s;
}
