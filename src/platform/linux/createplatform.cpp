#include "platform/createplatform.h"

#include "platform/linux/linuxplatform.h"

#include <QDBusConnection>

std::unique_ptr<Platform> createPlatform()
{
    // Connecting to a bus waits for its answer: done at the first session end or hold only.
    return std::make_unique<LinuxPlatform>([] { return QDBusConnection::systemBus(); },
                                           [] { return QDBusConnection::sessionBus(); });
}
