// Colours as the window layer stores them: 0x00BBGGRR integers, red in the
// low byte (the top byte is ignored), and back.
#pragma once

#include <QColor>
#include <cstdint>

namespace tavrin::forms {

inline QColor ColorFromBgr(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline uint32_t BgrFromColor(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

}  // namespace tavrin::forms
