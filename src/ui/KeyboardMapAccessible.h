#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class KeyboardMapView;

// What screen readers see of the progression's keyboard map: a list whose items are the
// keys, each named with its figures, the key chosen with the arrow keys holding the focus
// while the map has it.
class KeyboardMapAccessible : public QAccessibleWidget
{
public:
    explicit KeyboardMapAccessible(KeyboardMapView *map);
    ~KeyboardMapAccessible() override;

    // Installed by every map; Qt keeps one copy of a factory.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    KeyboardMapView *map() const;

    // The keys' interfaces, made when first asked for and registered with Qt, which
    // keeps them until this interface goes.
    mutable QHash<int, QAccessible::Id> keys_;
};

// One key of the map, by its place in the map's rows.
class KeyboardKeyAccessible : public QAccessibleInterface
{
public:
    KeyboardKeyAccessible(KeyboardMapView *map, int index);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

    int index() const { return index_; }
    const KeyboardMapView *map() const { return map_; }

private:
    QPointer<KeyboardMapView> map_;
    int index_;
};
