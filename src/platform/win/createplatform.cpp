#include "platform/createplatform.h"

#include "platform/win/windowsplatform.h"

std::unique_ptr<Platform> createPlatform()
{
    return std::make_unique<WindowsPlatform>();
}
