#include "platform/createplatform.h"

#include "platform/linux/linuxplatform.h"

#include <QDBusConnection>

std::unique_ptr<Platform> createPlatform()
{
    return std::make_unique<LinuxPlatform>(QDBusConnection::systemBus());
}
