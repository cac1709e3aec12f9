// The SDL2 / OpenGL system services: window, events, GL device, audio output, message box.
#pragma once

#include <memory>

#include "platform/system.h"

namespace platform {

std::unique_ptr<Backend> CreateSdlBackend();

} // namespace platform
