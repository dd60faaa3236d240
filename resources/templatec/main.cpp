// tavrin-templatec: compiles readable window template sources (one window per
// file, format in README.md) into the binary window template segment, emitted
// as C++ together with the handler name table and the id constants.
//
// Usage: tavrin-templatec OUT_BASE NAMESPACE DEPFILE SOURCE...
#include <iostream>
#include <string>

#include "cxx_emitter.h"
#include "template_compiler.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: tavrin-templatec OUT_BASE NAMESPACE DEPFILE SOURCE...\n";
        return 2;
    }
    tavrin::templatec::Compiler c;
    for (int k = 4; k < argc; ++k) c.compileFile(argv[k]);
    return tavrin::templatec::EmitCxx(c, argv[1], argv[2], argv[3]) ? 0 : 1;
}
