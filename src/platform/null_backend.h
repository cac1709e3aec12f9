// The headless system services: no window, no GL, no audio device.
#pragma once

#include <memory>

#include "platform/system.h"

namespace platform {

// Its devices are recording devices that keep no calls until asked to.
std::unique_ptr<Backend> CreateNullBackend();

} // namespace platform
