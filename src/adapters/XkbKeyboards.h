#pragma once

#include "game/keyboard/KeyboardSource.h"

#include <QHash>
#include <QString>

#include <memory>

struct xkb_context;

// The keyboards of the system's XKB data: a keymap compiled from rules names ("fr",
// "fr(bepo)", "ch(fr)") and, for each key of the map's rows, what its first four levels
// type. Each keyboard is compiled once.
class XkbKeyboards : public KeyboardSource
{
public:
    // `dataFolder` empty: the system's data (the folder XKB_CONFIG_ROOT names, or the
    // default one); otherwise that folder alone.
    explicit XkbKeyboards(const QString &dataFolder = QString());
    ~XkbKeyboards() override;

    std::optional<Keyboard> keyboard(const QString &layout) override;

private:
    std::optional<Keyboard> compile(const QString &layout) const;

    struct ContextDeleter
    {
        void operator()(xkb_context *context) const;
    };
    std::unique_ptr<xkb_context, ContextDeleter> context_;
    QHash<QString, std::optional<Keyboard>> made_;
};
