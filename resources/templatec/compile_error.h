// A template source error stops the build: the message names the file and line.
#pragma once

#include <cstdlib>
#include <iostream>
#include <string>

namespace tavrin::templatec {

[[noreturn]] inline void Die(const std::string& where, const std::string& what) {
    std::cerr << where << ": error: " << what << "\n";
    std::exit(1);
}

}  // namespace tavrin::templatec
