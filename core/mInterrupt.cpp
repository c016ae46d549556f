#include "core/mInterrupt.h"

std::atomic<bool>& InterruptRequested() {
    static std::atomic<bool> flag{false};
    return flag;
}
