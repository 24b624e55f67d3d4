#pragma once

#include <QString>

// The program's title and version, the version numbers coming from the build.
inline QString programTitle()
{
    return QStringLiteral("Clavimo");
}

// The name of the desktop entry, metainfo and icon the installation provides, given by
// the build, which names the installed files after the same id.
inline QString applicationId()
{
    return QStringLiteral(CLAVIMO_APP_ID);
}

inline int versionMajor()
{
    return CLAVIMO_VERSION_MAJOR;
}

inline int versionMinor()
{
    return CLAVIMO_VERSION_MINOR;
}

inline int versionPatch()
{
    return CLAVIMO_VERSION_PATCH;
}

// "major.minor.patch", for example "2.0.20".
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor()).arg(versionMinor()).arg(versionPatch());
}
