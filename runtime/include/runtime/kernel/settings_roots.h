// The roots of the per-user settings a caller may name.
#pragma once

#include <cstdint>

namespace tavrin {

// Any other number means the current user.
enum SettingsRoot : int32_t {
    kClassesRoot = 1,
    kCurrentConfig = 2,
    kCurrentUser = 3,
    kLocalMachine = 4,
    kUsers = 5,
};

}  // namespace tavrin
