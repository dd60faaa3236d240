// How the engine asks a person for a file's password when an opener passes
// "?": the program installs the way it asks (a dialog). With none installed
// the question goes unanswered and the file stays shut, as for a tool that
// has no window system.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tavrin::rs {

struct PasswordQuestion {
    std::string caption;  // GBK
    std::string prompt;   // GBK
    std::string warning;  // GBK: why it is asked again, empty at the first attempt
};

// The password typed (GBK), or nullopt when the person gave up.
using PasswordAsker = std::function<std::optional<std::string>(const PasswordQuestion&)>;
void SetPasswordAsker(PasswordAsker asker);

}  // namespace tavrin::rs
