#pragma once

#include <memory>

class Platform;

// The backend of the system the program was built for.
std::unique_ptr<Platform> createPlatform();
