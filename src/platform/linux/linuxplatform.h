#pragma once

#include "platform/platform.h"

// The freedesktop/Linux backend.
class LinuxPlatform final : public Platform
{
public:
    void minimiseApplication() override;
    void restoreApplication() override;
};
