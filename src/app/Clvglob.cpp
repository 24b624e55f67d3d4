#include "app/Clvglob.h"

#include <memory>

namespace {
std::unique_ptr<Clvglob> &instance()
{
    static std::unique_ptr<Clvglob> g = std::make_unique<Clvglob>();
    return g;
}
} // namespace

void Clvglob::closeAll()
{
    playerFile.close();
    wordFile.close();
    settingsFile.close();
}

Clvglob &clvglob()
{
    return *instance();
}

void resetClvglob()
{
    instance()->closeAll();
    instance() = std::make_unique<Clvglob>();
}
