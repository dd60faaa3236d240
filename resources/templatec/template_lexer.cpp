// The template source lexer.
#include "template_lexer.h"

#include <cstring>

#include "compile_error.h"

namespace tavrin::templatec {

std::vector<Token> Lex(const std::string& src, const std::string& file) {
    std::vector<Token> out;
    int line = 1;
    size_t i = 0;
    auto endStatement = [&] {
        if (!out.empty() && out.back().kind != Token::End) out.push_back({Token::End, "", line});
    };
    while (i < src.size()) {
        char c = src[i];
        if (c == '\n' || c == ';') {
            endStatement();
            if (c == '\n') ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            ++i;
        } else if (c == '#') {
            while (i < src.size() && src[i] != '\n') ++i;
        } else if (c == '{' || c == '}') {
            if (c == '}') endStatement();
            out.push_back({c == '{' ? Token::Open : Token::Close, std::string(1, c), line});
            if (c == '{') out.push_back({Token::End, "", line});
            ++i;
        } else if (c == '=') {
            out.push_back({Token::Equals, "=", line});
            ++i;
        } else if (c == '"') {
            std::string s;
            ++i;
            while (i < src.size() && src[i] != '"') {
                if (src[i] == '\n') Die(file + ":" + std::to_string(line), "unterminated string");
                if (src[i] == '\\' && i + 1 < src.size()) {
                    char e = src[++i];
                    s += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                } else {
                    s += src[i];
                }
                ++i;
            }
            if (i >= src.size()) Die(file + ":" + std::to_string(line), "unterminated string");
            ++i;
            out.push_back({Token::String, s, line});
        } else {
            size_t b = i;
            while (i < src.size() && !std::strchr(" \t\r\n;,{}=\"#", src[i])) ++i;
            out.push_back({Token::Word, src.substr(b, i - b), line});
        }
    }
    endStatement();
    return out;
}

}  // namespace tavrin::templatec
