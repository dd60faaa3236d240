// Reading and writing single parts of a font record.
#include "internal/font_parts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fm_text_constants.h"
#include "forms/template_format.h"
#include "internal/property_payload.h"
#include "runtime/memory.h"

namespace tavrin::forms {

namespace {

// The 28-byte-style font summary {angle, bold, italic, strike-out, underline,
// size, face}; on this build the face pointer takes 8 bytes.
struct FontSummary {
    int32_t angle, bold, italic, strikeOut, underline, size;
    char* face;
};

int32_t Get32(const std::string& rec, size_t at) {
    int32_t v;
    std::memcpy(&v, rec.data() + at, 4);
    return v;
}
void Put32(std::string& rec, size_t at, int32_t v) {
    std::memcpy(rec.data() + at, &v, 4);
}

std::string FaceOf(const std::string& rec) {
    return std::string(rec.data() + FontField::kFaceName,
                       strnlen(rec.data() + FontField::kFaceName, FontField::kFaceNameSize));
}
int32_t PointSizeOf(const std::string& rec) {
    const int32_t h = Get32(rec, FontField::kHeight);
    return int32_t(std::lround(std::abs(h) * 72.0 / 96.0));
}

}  // namespace

uint64_t ReadFontPart(const std::string& rec, int32_t part) {
    switch (part) {
        case -1: {
            FontSummary s{Get32(rec, FontField::kEscapement),
                          Get32(rec, FontField::kWeight) >= 700,
                          rec[FontField::kItalic] != 0,
                          rec[FontField::kStrikeOut] != 0,
                          rec[FontField::kUnderline] != 0,
                          PointSizeOf(rec),
                          CopyText(FaceOf(rec))};
            return PointerPayload(NewByteSet(&s, sizeof s));
        }
        case 0:
            return uint32_t(Get32(rec, FontField::kEscapement));
        case 1:
            return Get32(rec, FontField::kWeight) >= 700 ? 1 : 0;
        case 2:
            return rec[FontField::kItalic] ? 1 : 0;
        case 3:
            return rec[FontField::kStrikeOut] ? 1 : 0;
        case 4:
            return rec[FontField::kUnderline] ? 1 : 0;
        case 5:
            return uint32_t(PointSizeOf(rec));
        case 6:
            return PointerPayload(CopyText(FaceOf(rec)));
        default:
            return 0;
    }
}

void SetFace(std::string& rec, std::string face) {
    if (face.empty() || face.size() > 31) face = fm_text::DefaultFontFace;
    std::memset(rec.data() + FontField::kFaceName, 0, FontField::kFaceNameSize);
    std::memcpy(rec.data() + FontField::kFaceName, face.data(), face.size());
}

void WriteFontPart(std::string& rec, int32_t part, uint32_t lo, uint32_t hi) {
    const int32_t v = int32_t(lo);
    switch (part) {
        case -1: {
            std::string data = ByteSetAt(lo, hi);
            if (data.size() < 24) return;
            FontSummary s{};
            std::memcpy(&s, data.data(), std::min(data.size(), sizeof s));
            WriteFontPart(rec, 0, uint32_t(s.angle), 0);
            WriteFontPart(rec, 1, uint32_t(s.bold), 0);
            WriteFontPart(rec, 2, uint32_t(s.italic), 0);
            WriteFontPart(rec, 3, uint32_t(s.strikeOut), 0);
            WriteFontPart(rec, 4, uint32_t(s.underline), 0);
            WriteFontPart(rec, 5, uint32_t(s.size), 0);
            SetFace(rec, data.size() >= sizeof s && s.face ? std::string(s.face) : std::string());
            break;
        }
        case 0:
            Put32(rec, FontField::kEscapement, v % 3600);
            Put32(rec, FontField::kOrientation, v % 3600);
            break;
        case 1:
            Put32(rec, FontField::kWeight, v ? 700 : 0);
            break;
        case 2:
            rec[FontField::kItalic] = v ? 1 : 0;
            break;
        case 3:
            rec[FontField::kStrikeOut] = v ? 1 : 0;
            break;
        case 4:
            rec[FontField::kUnderline] = v ? 1 : 0;
            break;
        case 5:
            Put32(rec, FontField::kHeight, -int32_t(std::lround(std::max(1, v) * 96.0 / 72.0)));
            break;
        case 6:
            SetFace(rec, TextAt(lo, hi));
            break;
        default:
            break;
    }
}

}  // namespace tavrin::forms
