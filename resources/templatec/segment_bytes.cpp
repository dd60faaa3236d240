// Texts and files as the template segment stores them.
#include "segment_bytes.h"

#include <fstream>
#include <sstream>

#include "compile_error.h"
#include "runtime/base/gbk_convert.h"

namespace tavrin::templatec {

std::string ReadFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Die(where, "cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string ToGbk(const std::string& utf8, const std::string& where) {
    std::optional<std::string> gbk = ConvertUtf8ToGbk(utf8, Unconvertible::kRefuse);
    if (!gbk) Die(where, "text cannot be written in GBK: " + utf8);
    return *gbk;
}

}  // namespace tavrin::templatec
