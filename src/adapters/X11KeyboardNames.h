#pragma once

#include "platform/Environment.h"

// The X server's `_XKB_RULES_NAMES`, read from the root window through Qt's connection to
// the server; nothing under Wayland, on the offscreen platform and elsewhere.
class X11KeyboardNames : public ServerKeyboardNames
{
public:
    QByteArray rulesNames() override;
};
