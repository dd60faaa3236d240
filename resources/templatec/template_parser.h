// The statement tree of a template source, and the reading of its values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "template_lexer.h"

namespace tavrin::templatec {

struct Node {
    std::string head;
    std::vector<std::string> args;  // positional values (strings unquoted)
    std::map<std::string, std::string> attrs;
    std::vector<Node> children;
    bool block = false;
    std::string where;  // "file:line" for error messages
};

// statement := head ('=' value* | positional* (word '=' value)*) ['{' statement* '}']
// Reads statements from token i on; a nested call stops after its closing brace.
std::vector<Node> ParseStatements(const std::vector<Token>& t, size_t& i, const std::string& file,
                                  bool nested);

// A number (decimal, 0x.. or 0..) or true/yes/false/no; anything else stops the build.
int64_t ParseInt(const std::string& s, const std::string& where);

}  // namespace tavrin::templatec
