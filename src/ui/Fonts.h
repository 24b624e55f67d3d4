#pragma once

#include <QFont>
#include <QString>

// The font a control was designed with, mapped to what the machine has: the metric twins
// of the classic Windows faces where they are installed, otherwise the nearest generic
// family.
QFont designFont(const QString &designFamily, double points, bool bold, bool italic = false,
                 bool underline = false);
