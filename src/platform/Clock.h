// Millisecond tick count from a monotonic clock (wraps like a 32-bit counter).
#pragma once

#include <cstdint>

namespace platform {
uint32_t tickCount();
}
