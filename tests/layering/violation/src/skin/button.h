#pragma once

#include "app/tform1.h"
