#include "support/TestServices.h"

#include "app/Clvglob.h"

#include <QDir>
#include <QFile>

TestServices::TestServices()
{
    setServices({&clock, &random, &beeper, &sound, &boxes, &shell, &end});
}

TestServices::~TestServices()
{
    setServices({});
}

ScratchFolder::ScratchFolder()
    : previous_(QDir::currentPath())
{
    resetClvglob();
    QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder()
{
    resetClvglob();
    QDir::setCurrent(previous_);
}

QByteArray ScratchFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void ScratchFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
