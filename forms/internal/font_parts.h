// The parts of a 60-byte font record as font properties read and write them
// one at a time: -1 the whole summary, 0 angle, 1 bold, 2 italic, 3 strike-out,
// 4 underline, 5 point size, 6 face.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin::forms {

uint64_t ReadFontPart(const std::string& record, int32_t part);
void WriteFontPart(std::string& record, int32_t part, uint32_t lo, uint32_t hi);

}  // namespace tavrin::forms
