// GBK ⇄ UTF-8 through iconv. The one converter of the program and of its
// build-time generators (which cannot link the runtime that embeds their output).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// ASCII text is the same bytes in GBK and UTF-8.
inline bool IsAsciiText(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// What becomes of input the other encoding cannot hold: the running program
// writes '?' for each such byte and carries on; a generator refuses the text.
enum class Unconvertible { kQuestionMark, kRefuse };

// One converter pair per thread. With kRefuse, input that cannot be converted
// (or a system without GBK) gives nullopt; with kQuestionMark the result is
// always there (and is the input itself when the system has no GBK).
std::optional<std::string> ConvertGbkToUtf8(std::string_view gbk, Unconvertible rule);
std::optional<std::string> ConvertUtf8ToGbk(std::string_view utf8, Unconvertible rule);

}  // namespace tavrin
