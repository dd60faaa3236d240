// Formula texts and their evaluation row by row.
//
// The compiled form of a formula must give exactly the text that substituting
// a row's cells and evaluating the result gives. It is used only when that is
// certain: the formula, its references aside, holds nothing but digits, ".",
// blanks, "+", "-", "*", "/" and balanced parentheses; no reference touches a
// digit, a "." or another reference; no "++", "--" or comment can form; and
// the row's referenced cells are plain decimal numbers ("12", "0.5"), which
// the language reads as the same number whether written into the text or
// passed as an argument.
#include "formula_evaluation.h"

#include <QString>
#include <algorithm>
#include <cstring>

#include "forms/script_host.h"
#include "printing_text_constants.h"
#include "runtime/kernel/gbk_scan.h"

namespace tavrin::printing {

namespace {

using tavrin::kernel::GbkFind;

constexpr char kMark = '\x01';  // brackets a parameter number while the body is built

std::string ReplaceAll(std::string_view text, std::string_view sought, std::string_view replacement,
                       bool* found = nullptr) {
    std::string out;
    size_t from = 0;
    for (size_t at; (at = GbkFind(text, sought, from, false)) != std::string_view::npos;
         from = at + sought.size()) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
        if (found) *found = true;
    }
    out.append(text.substr(from));
    return out;
}

bool IsPlainDecimal(std::string_view s) {
    size_t i = 0;
    if (s.empty() || s[0] < '0' || s[0] > '9') return false;
    if (s[0] == '0') {
        i = 1;
    } else {
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    }
    if (i == s.size()) return true;
    if (s[i] != '.' || i + 1 == s.size()) return false;
    for (++i; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

bool IsOperatorOrBlank(char c) {
    return std::strchr(" +-*/()", c) != nullptr;
}

// The function body for a marked formula ("\x01" k "\x01" stands for
// parameter k), or nothing when the formula is not plain arithmetic.
std::optional<std::string> ArithmeticBody(const std::string& marked) {
    std::string body, squeezed;  // squeezed: without blanks, parameters as "P"
    int depth = 0;
    for (size_t i = 0; i < marked.size(); ++i) {
        const char c = marked[i];
        if (c == kMark) {
            const size_t end = marked.find(kMark, i + 1);
            const char before = i == 0 ? ' ' : marked[i - 1];
            const char after = end + 1 == marked.size() ? ' ' : marked[end + 1];
            if (!IsOperatorOrBlank(before) || !IsOperatorOrBlank(after) || before == ')' ||
                after == '(')
                return std::nullopt;
            body += "(a" + marked.substr(i + 1, end - i - 1) + ")";
            squeezed += 'P';
            i = end;
            continue;
        }
        if (!IsOperatorOrBlank(c) && c != '.' && (c < '0' || c > '9')) return std::nullopt;
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return std::nullopt;
        body += c;
        if (c != ' ') squeezed += c;
    }
    if (depth != 0) return std::nullopt;
    for (const char* bad : {"++", "--", "//", "/*"})
        if (squeezed.find(bad) != std::string::npos) return std::nullopt;
    return body;
}

}  // namespace

std::optional<std::string> FormulaTestText(std::string_view gbkFormula) {
    std::string text(gbkFormula);
    for (;;) {
        const size_t open = GbkFind(text, "[", 0, false);
        if (open == std::string::npos) return text;
        const size_t close = GbkFind(text, "]", 0, false);
        // Each pass removes the first "[": the loop ends. Without a "]" after
        // it there is nothing to remove and the formula is malformed.
        if (close == std::string::npos || close < open) return std::nullopt;
        const std::string reference = text.substr(open, close - open + 1);
        text = ReplaceAll(text, reference, printing_text::FormulaTestNumber);
    }
}

std::string SubstituteRow(std::string_view gbkFormula, const std::vector<std::string>& headers,
                          const std::vector<std::string_view>& cells) {
    std::string text(gbkFormula);
    const size_t n = std::min(headers.size(), cells.size());
    for (size_t i = 0; i < n; ++i) text = ReplaceAll(text, "[" + headers[i] + "]", cells[i]);
    return text;
}

FormulaRowEvaluator::FormulaRowEvaluator(tavrin::forms::ScriptHost& host, std::string gbkFormula,
                                         std::vector<std::string> headers)
    : host_(host), formula_(std::move(gbkFormula)), headers_(std::move(headers)) {
    std::string marked = formula_;
    for (size_t i = 0; i < headers_.size(); ++i) {
        if (headers_[i].find(kMark) != std::string::npos) return;
        bool found = false;
        const std::string parameter =
            std::string(1, kMark) + std::to_string(parameters_.size()) + kMark;
        marked = ReplaceAll(marked, "[" + headers_[i] + "]", parameter, &found);
        if (found) parameters_.push_back(int32_t(i));
    }
    const std::optional<std::string> body = ArithmeticBody(marked);
    if (!body) return;
    std::string source = "(function(";
    for (size_t k = 0; k < parameters_.size(); ++k) source += (k ? ",a" : "a") + std::to_string(k);
    source += "){return (" + *body + ");})";
    function_ = host_.compileFunction(source);
}

std::string FormulaRowEvaluator::evaluate(const std::vector<std::string_view>& cells) {
    if (function_ >= 0) {
        std::vector<double> arguments;
        arguments.reserve(parameters_.size());
        bool plain = true;
        for (int32_t column : parameters_) {
            const std::string_view cell =
                size_t(column) < cells.size() ? cells[size_t(column)] : std::string_view();
            if (!IsPlainDecimal(cell)) {
                plain = false;
                break;
            }
            arguments.push_back(
                QString::fromLatin1(cell.data(), qsizetype(cell.size())).toDouble());
        }
        if (plain) return host_.callFunction(function_, arguments);
    }
    return host_.evaluate(SubstituteRow(formula_, headers_, cells));
}

}  // namespace tavrin::printing
