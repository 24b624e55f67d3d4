#pragma once

#include "platform/Environment.h"

#include <QString>

// The chosen layout in the user's settings file `clavimo/clavimo.conf` (the one that may
// also name a classroom's server), key `disposition` of the group `[clavier]`; the other
// groups of the file are left as they are.
class SettingsLayoutMemory : public LayoutMemory
{
public:
    // `file` empty: the user's own `$XDG_CONFIG_HOME/clavimo/clavimo.conf`.
    explicit SettingsLayoutMemory(const QString &file = QString());
    QString remembered() override;
    void remember(const QString &layout) override;

private:
    QString file_;
};
