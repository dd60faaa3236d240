// Texts and files as the template segment stores them.
#include "resources/templatec/segment_bytes.h"

#include <iconv.h>

#include <fstream>
#include <sstream>

#include "resources/templatec/compile_error.h"

namespace tavrin::templatec {

std::string ReadFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Die(where, "cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string ToGbk(const std::string& utf8, const std::string& where) {
    if (utf8.empty()) return {};
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == (iconv_t)-1) Die(where, "iconv has no GBK");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* o = out.data();
    size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == (size_t)-1) Die(where, "text cannot be written in GBK: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tavrin::templatec
