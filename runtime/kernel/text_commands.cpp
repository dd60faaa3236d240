// Text commands: byte lengths and positions, double-byte aware searching.
#include "runtime/kernel/text_commands.h"

#include <cstring>
#include <string>

#include "runtime/kernel/gbk_scan.h"
#include "runtime/kernel/kernel_support.h"

namespace tavrin {

using kernel::ArgAt;
using kernel::BoolArg;
using kernel::GbkCharLength;
using kernel::IntArg;
using kernel::SetTextResult;
using kernel::TextArg;

namespace {

// The full-width space 0xA1 0xA1 or an ASCII space at byte i (a character boundary).
size_t BlankLengthAt(std::string_view s, size_t i) {
    if (s[i] == ' ') return 1;
    if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0xA1 &&
        static_cast<unsigned char>(s[i + 1]) == 0xA1)
        return 2;
    return 0;
}

}  // namespace

void TextLength(Value* result, int32_t argc, const Value* argv) {
    *result = MakeInt(int32_t(TextArg(ArgAt(argc, argv, 0)).size()));
}

void LeftText(Value* result, int32_t argc, const Value* argv) {
    std::string_view text = TextArg(ArgAt(argc, argv, 0));
    int32_t n = IntArg(ArgAt(argc, argv, 1));
    if (n <= 0) n = 0;
    SetTextResult(result, text.substr(0, size_t(n)));
}

void MidText(Value* result, int32_t argc, const Value* argv) {
    std::string_view text = TextArg(ArgAt(argc, argv, 0));
    int32_t start = IntArg(ArgAt(argc, argv, 1));
    int32_t n = IntArg(ArgAt(argc, argv, 2));
    if (start < 1 || size_t(start) > text.size() || n <= 0) {
        SetTextResult(result, {});
        return;
    }
    SetTextResult(result, text.substr(size_t(start) - 1, size_t(n)));
}

void FindText(Value* result, int32_t argc, const Value* argv) {
    std::string_view text = TextArg(ArgAt(argc, argv, 0));
    std::string_view sought = TextArg(ArgAt(argc, argv, 1));
    const Value& startArg = ArgAt(argc, argv, 2);
    int32_t start = startArg.present() ? IntArg(startArg) : 1;
    if (start < 1) start = 1;
    bool ignoreCase = BoolArg(ArgAt(argc, argv, 3));
    const size_t from = size_t(start) - 1;
    if (sought.empty()) {
        *result = MakeInt(from < text.size() ? 1 : -1);
        return;
    }
    size_t at = kernel::GbkFind(text, sought, from, ignoreCase);
    *result = MakeInt(at == std::string_view::npos ? -1 : int32_t(at) + 1);
}

void TrimSpaces(Value* result, int32_t argc, const Value* argv) {
    std::string_view text = TextArg(ArgAt(argc, argv, 0));
    size_t begin = text.size(), end = 0;
    for (size_t i = 0; i < text.size();) {
        size_t blank = BlankLengthAt(text, i);
        size_t n = blank ? blank : GbkCharLength(text, i);
        if (!blank) {
            if (begin == text.size()) begin = i;
            end = i + n;
        }
        i += n;
    }
    SetTextResult(result, begin < end ? text.substr(begin, end - begin) : std::string_view());
}

void ReplaceText(Value* result, int32_t argc, const Value* argv) {
    std::string_view text = TextArg(ArgAt(argc, argv, 0));
    std::string_view sought = TextArg(ArgAt(argc, argv, 1));
    std::string_view replacement = TextArg(ArgAt(argc, argv, 2));
    const Value& startArg = ArgAt(argc, argv, 3);
    const Value& countArg = ArgAt(argc, argv, 4);
    int32_t start = startArg.present() ? IntArg(startArg) : 1;
    if (start < 1) start = 1;
    int64_t remaining = countArg.present() ? IntArg(countArg) : INT64_MAX;
    const bool ignoreCase = !BoolArg(ArgAt(argc, argv, 5));
    if (text.empty() || sought.empty()) {
        SetTextResult(result, text);
        return;
    }
    std::string out;
    out.reserve(text.size());
    const size_t from = size_t(start) - 1;
    for (size_t i = 0; i < text.size();) {
        if (remaining > 0 && i >= from && kernel::GbkMatchesAt(text, i, sought, ignoreCase)) {
            out += replacement;
            i += sought.size();
            --remaining;
            continue;
        }
        size_t n = GbkCharLength(text, i);
        out.append(text.substr(i, n));
        i += n;
    }
    SetTextResult(result, out);
}

void SpaceText(Value* result, int32_t argc, const Value* argv) {
    int32_t n = IntArg(ArgAt(argc, argv, 0));
    if (n < 1) {
        *result = MakeTextRef(nullptr);
        return;
    }
    // Built in place: a huge count fails through the allocator's fatal report.
    auto* spaces = static_cast<char*>(Allocate(size_t(n) + 1));
    std::memset(spaces, ' ', size_t(n));
    spaces[n] = 0;
    *result = MakeTextRef(spaces);
}

void CompareText(Value* result, int32_t argc, const Value* argv) {
    std::string_view a = TextArg(ArgAt(argc, argv, 0));
    std::string_view b = TextArg(ArgAt(argc, argv, 1));
    bool caseSensitive = BoolArg(ArgAt(argc, argv, 2));
    *result = MakeInt(kernel::GbkCompare(a, b, !caseSensitive));
}

}  // namespace tavrin
