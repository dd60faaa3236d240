// Splits a template source into words, strings, '=', braces and statement ends.
#pragma once

#include <string>
#include <vector>

namespace tavrin::templatec {

struct Token {
    enum Kind { Word, String, Equals, Open, Close, End } kind;
    std::string text;
    int line;
};

// A line break or ';' ends a statement; commas and blanks separate values;
// '#' comments to the end of the line. An opening brace ends its statement too.
std::vector<Token> Lex(const std::string& src, const std::string& file);

}  // namespace tavrin::templatec
