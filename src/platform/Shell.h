#pragma once

#include <QString>

// Hands an address (web page, mailto:) to the system's default handler without waiting.
class Shell
{
public:
    virtual ~Shell() = default;

    // First attempt. Returns false with a French description in *error when it failed.
    virtual bool open(const QString &address, QString *error) = 0;

    // Second attempt through another route of the platform (for example xdg-open).
    virtual bool openFallback(const QString &address, QString *error) = 0;
};
