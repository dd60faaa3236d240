// The statement parser of template sources.
#include "template_parser.h"

#include <cstdlib>

#include "compile_error.h"

namespace tavrin::templatec {

std::vector<Node> ParseStatements(const std::vector<Token>& t, size_t& i, const std::string& file,
                                  bool nested) {
    std::vector<Node> out;
    while (i < t.size()) {
        if (t[i].kind == Token::End) {
            ++i;
            continue;
        }
        if (t[i].kind == Token::Close) {
            if (!nested) Die(file + ":" + std::to_string(t[i].line), "unmatched '}'");
            ++i;
            return out;
        }
        Node n;
        n.where = file + ":" + std::to_string(t[i].line);
        if (t[i].kind != Token::Word) Die(n.where, "a statement starts with a word");
        n.head = t[i++].text;
        bool valueList = i < t.size() && t[i].kind == Token::Equals;
        if (valueList) ++i;
        while (i < t.size() && t[i].kind != Token::End && t[i].kind != Token::Open &&
               t[i].kind != Token::Close) {
            if (t[i].kind == Token::Equals) Die(n.where, "misplaced '='");
            if (!valueList && t[i].kind == Token::Word && i + 2 < t.size() &&
                t[i + 1].kind == Token::Equals) {
                n.attrs[t[i].text] = t[i + 2].text;
                i += 3;
                continue;
            }
            n.args.push_back(t[i++].text);
        }
        if (i < t.size() && t[i].kind == Token::Open) {
            ++i;
            n.block = true;
            n.children = ParseStatements(t, i, file, true);
        }
        out.push_back(std::move(n));
    }
    if (nested) Die(file, "missing '}' at end of file");
    return out;
}

int64_t ParseInt(const std::string& s, const std::string& where) {
    if (s == "true" || s == "yes") return 1;
    if (s == "false" || s == "no") return 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 0);
    if (s.empty() || *end) Die(where, "not a number: " + s);
    return v;
}

}  // namespace tavrin::templatec
