// Registry commands: path splitting, type checks and defaults.
#include "runtime/kernel/registry_commands.h"

#include <cstring>

#include "kernel/settings_store.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/kernel_support.h"
#include "runtime/memory.h"

namespace tavrin {

using kernel::ArgAt;
using kernel::IntArg;
using kernel::TextArg;

namespace {

std::optional<SettingsValue> ReadValue(int32_t argc, const Value* argv) {
    SettingsPath path = SplitSettingsPath(TextArg(ArgAt(argc, argv, 1)));
    return UserSettings().Read(IntArg(ArgAt(argc, argv, 0)), path.key, path.name);
}

}  // namespace

void ReadRegistryText(Value* result, int32_t argc, const Value* argv) {
    std::optional<SettingsValue> v = ReadValue(argc, argv);
    if (v && (v->type == SettingsType::kString || v->type == SettingsType::kExpandString)) {
        std::string_view text(v->data);
        text = text.substr(0, text.find('\0'));
        kernel::SetTextResult(result, v->type == SettingsType::kExpandString
                                          ? ExpandEnvironmentText(text)
                                          : std::string(text));
        return;
    }
    kernel::SetTextResult(result, TextArg(ArgAt(argc, argv, 2)));
}

void ReadRegistryInt(Value* result, int32_t argc, const Value* argv) {
    std::optional<SettingsValue> v = ReadValue(argc, argv);
    if (v && v->type == SettingsType::kNumber && v->data.size() == 4) {
        uint32_t n = 0;
        for (int b = 0; b < 4; ++b) n |= uint32_t(uint8_t(v->data[b])) << (8 * b);
        *result = MakeInt(int32_t(n));
        return;
    }
    *result = MakeInt(IntArg(ArgAt(argc, argv, 2)));
}

void ReadRegistryByteSet(Value* result, int32_t argc, const Value* argv) {
    std::optional<SettingsValue> v = ReadValue(argc, argv);
    if (v && v->type == SettingsType::kBinary) {
        kernel::SetByteSetResult(result, v->data);
        return;
    }
    const Value& fallback = ArgAt(argc, argv, 2);
    kernel::SetByteSetResult(
        result, fallback.type == TypeCode::kByteSet ? ByteSetOf(fallback) : std::string_view());
}

void WriteRegistry(Value* result, int32_t argc, const Value* argv) {
    const Value& v = ArgAt(argc, argv, 2);
    SettingsValue stored;
    if (IsNumericType(v.type)) {
        int32_t n = ValueToInt(v);  // other numbers truncated to int first
        stored.type = SettingsType::kNumber;
        for (int b = 0; b < 4; ++b) stored.data += char(uint32_t(n) >> (8 * b));
    } else if (v.type == TypeCode::kText) {
        stored.type = SettingsType::kString;
        stored.data = std::string(TextOf(v));
        stored.data += '\0';
    } else if (v.type == TypeCode::kByteSet) {
        stored.type = SettingsType::kBinary;
        stored.data = std::string(ByteSetOf(v));
    } else if (v.type == TypeCode::kBool || v.type == TypeCode::kDateTime ||
               (IsArrayType(v.type) && IsNumericType(ElementType(v.type)))) {
        stored.type = SettingsType::kBinary;
        stored.data = RawBytes(v);
    } else {
        *result = MakeBool(false);  // nothing storable (absent, control, pointer kinds)
        return;
    }
    SettingsPath path = SplitSettingsPath(TextArg(ArgAt(argc, argv, 1)));
    *result =
        MakeBool(UserSettings().Write(IntArg(ArgAt(argc, argv, 0)), path.key, path.name, stored));
}

}  // namespace tavrin
