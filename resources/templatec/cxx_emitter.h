// Writes the compiled segment as C++ (a header of ids and declarations, a source
// of the bytes and handler names) and the dependency file the build reads.
#pragma once

#include <string>

#include "template_compiler.h"

namespace tavrin::templatec {

// The segment: the window directory (ids, then a zero word per window) and the
// window entries.
std::string AssembleSegment(const Compiler& c);

// Writes OUT_BASE.h, OUT_BASE.cpp and the depfile; false when a write failed.
bool EmitCxx(const Compiler& c, const std::string& base, const std::string& ns,
             const std::string& depfile);

}  // namespace tavrin::templatec
