#include "ui/Announcer.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *announcerAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("Announcer"))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    if (qobject_cast<Announcer *>(object->parent()))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    QAccessible::installFactory(&announcerAccessible);
    setObjectName(QStringLiteral("announcer"));
    setAccessibleName(QStringLiteral("Annonces"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    for (QWidget *&note : notes_) {
        note = new QWidget(this);
        note->setGeometry(0, 0, 0, 0);
        note->hide();
    }
}

void Announcer::announce(const QString &text)
{
    // Showing the notification is what screen readers react to; the hide before it makes
    // it a new appearance even when it is already there.
    QWidget *note = notes_[next_];
    next_ = (next_ + 1) % notes_.size();
    note->hide();
    note->setAccessibleName(text);
    note->show();
}
