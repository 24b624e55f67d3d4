#pragma once

#include <QByteArray>

// What the display server says about the keyboard in use: the bytes of the X server's
// `_XKB_RULES_NAMES` root-window property (rules, model, layouts, variants and options,
// each ended by a zero byte), or nothing where there is no X server to ask.
class ServerKeyboardNames
{
public:
    virtual ~ServerKeyboardNames() = default;
    virtual QByteArray rulesNames() = 0;
};
