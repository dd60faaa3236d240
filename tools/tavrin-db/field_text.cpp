// How the tool writes and reads field values as UTF-8 text, and which texts
// GBK can hold.
#include <cstdio>
#include <cstring>

#include "runtime/base/calendar.h"
#include "runtime/base/gbk_convert.h"
#include "runtime/base/little_endian.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/value.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

const char* TypeName(int32_t type) {
    static const char* const kNames[] = {"?",      "byte",     "short",   "integer",   "long",
                                         "single", "double",   "logical", "date-time", "4-byte",
                                         "text",   "byte-set", "memo"};
    return type >= 1 && type <= 12 ? kNames[type] : kNames[0];
}

std::string DateTimeText(double days) {
    kernel::CalendarParts p = kernel::SplitDateTime(ClampDateTime(days));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                  p.hour, p.minute, p.second);
    return text;
}

std::optional<double> ParseDateTime(const std::string& text) {
    kernel::CalendarParts p;
    p.hour = p.minute = p.second = 0;
    char tail = 0;
    int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &p.year, &p.month, &p.day, &p.hour,
                        &p.minute, &p.second, &tail);
    if (n != 3 && n != 6) return std::nullopt;
    if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > kernel::DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
        p.minute > 59 || p.second < 0 || p.second > 59) {
        return std::nullopt;
    }
    return kernel::ComposeDateTime(p);
}

std::optional<std::string> NonGbkCharacter(const std::string& utf8) {
    if (ConvertUtf8ToGbk(utf8, Unconvertible::kRefuse)) return std::nullopt;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string character = utf8.substr(i, n);
        if (!ConvertUtf8ToGbk(character, Unconvertible::kRefuse)) {
            uint32_t code = n == 1 ? lead : lead & (0x7F >> n);
            for (size_t k = 1; k < character.size(); ++k)
                code = code << 6 | (static_cast<unsigned char>(character[k]) & 0x3F);
            char point[16];
            std::snprintf(point, sizeof point, "U+%04X", unsigned(code));
            return "\"" + character + "\" (" + point + ")";
        }
        i += n;
    }
    return "a character GBK has no place for";  // text that is no UTF-8 at all
}

std::optional<std::string> ParseHex(const std::string& text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(text.substr(i, 2).c_str(), "%2x", &value) != 1) return std::nullopt;
        bytes += char(value);
    }
    return bytes;
}

std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string FieldText(const FieldDescriptor& f, const uint8_t* bytes, const std::string& chain) {
    Value v{0, 0, 0};
    switch (f.type) {
        case kFieldByte:
            v = MakeByte(bytes[0]);
            break;
        case kFieldShort:
            v = MakeShort(LoadLe<int16_t>(bytes));
            break;
        case kFieldInt:
        case kFieldFourBytes:
            v = MakeInt(GetI32(bytes));
            break;
        case kFieldLong: {
            int64_t l;
            std::memcpy(&l, bytes, 8);
            v = MakeLong(l);
            break;
        }
        // Numbers read back exactly: the program's six digits would turn
        // 12345.67 into 12345.7 on the way back in.
        case kFieldFloat: {
            float x;
            std::memcpy(&x, bytes, 4);
            return ShortestText(x);
        }
        case kFieldDouble:
            return ShortestText(GetF64(bytes));
        case kFieldBool:
            return bytes[0] != 0 ? "1" : "0";
        case kFieldDateTime:
            return DateTimeText(GetF64(bytes));
        case kFieldText: {
            size_t n = 0;
            while (n < size_t(f.width) && bytes[n] != 0) ++n;
            return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(bytes), n));
        }
        case kFieldMemo:
            return GbkToUtf8(std::string_view(chain.c_str()));  // up to a NUL
        case kFieldByteSet: {
            std::string hex;
            char two[3];
            for (unsigned char c : chain) {
                std::snprintf(two, sizeof two, "%02X", c);
                hex += two;
            }
            return hex;
        }
        default:
            return "";
    }
    return GbkToUtf8(ValueToText(v));
}

}  // namespace tavrin::dbtool
