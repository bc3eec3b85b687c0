#include "platform/createplatform.h"

#include "platform/linux/linuxplatform.h"

#include <QDBusConnection>

std::unique_ptr<Platform> createPlatform()
{
    // Connecting to the system bus waits for its answer: done at the first session end only.
    return std::make_unique<LinuxPlatform>([] { return QDBusConnection::systemBus(); });
}
