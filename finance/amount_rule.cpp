// The amount rule through the kernel's own conversions, so that what is
// checked is what the record will hold.
#include "finance/amount_rule.h"

#include <string>

#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/text_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::finance {

using namespace tavrin;

float StoredAmount(std::string_view gbkText) {
    const std::string text(gbkText);
    return CallKernel(ToFloat, MakeTextRef(text.c_str())).asFloat();
}

AmountVerdict CheckAmount(std::string_view gbkText) {
    const std::string text(gbkText);
    const std::string trimmed = TakeText(CallKernel(TrimSpaces, MakeTextRef(text.c_str())));
    if (trimmed.empty()) return AmountVerdict::kEmpty;
    const double number = CallKernel(ToNumber, MakeTextRef(trimmed.c_str())).asDouble();
    if (!(number > 0.0000001) || !(number < kAmountLimit) ||
        !(StoredAmount(text) < float(kAmountLimit)))
        return AmountVerdict::kNotPositive;
    return AmountVerdict::kAccepted;
}

}  // namespace tavrin::finance
