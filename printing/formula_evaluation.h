// Formula texts: the test text the formula window evaluates, row substitution
// for the print table, and an evaluator that computes one formula for many rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::forms {
class ScriptHost;
}

namespace tavrin::printing {

// The formula with its column references ("[" title "]") replaced by " 5",
// one distinct reference after another; nothing when a "]" is missing or
// stands before the "[" it should close (such a formula is rejected).
std::optional<std::string> FormulaTestText(std::string_view gbkFormula);

// The formula with every "[" headers[i] "]" replaced by cells[i], column after
// column (the serial column and the printed columns; references to formula
// columns are left as they are). Texts are GBK.
std::string SubstituteRow(std::string_view gbkFormula, const std::vector<std::string>& headers,
                          const std::vector<std::string_view>& cells);

// Evaluates one formula for row after row with one script host. The formula
// is compiled once into a function of the referenced cells' numbers when it
// is plain arithmetic over references and numbers; a row whose referenced
// cells are all plain decimal numbers is then computed by a call, any other
// row (and any other formula) by substituting its texts and evaluating the
// result. Both ways give the same text.
class FormulaRowEvaluator {
  public:
    FormulaRowEvaluator(tavrin::forms::ScriptHost& host, std::string gbkFormula,
                        std::vector<std::string> headers);
    // The formula's value for one row (cells in header order) as text; empty
    // when it fails.
    std::string evaluate(const std::vector<std::string_view>& cells);
    bool compiled() const { return function_ >= 0; }

  private:
    tavrin::forms::ScriptHost& host_;
    std::string formula_;
    std::vector<std::string> headers_;
    std::vector<int32_t> parameters_;  // referenced columns in parameter order
    int32_t function_ = -1;
};

}  // namespace tavrin::printing
