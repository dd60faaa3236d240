// The registry commands over the per-user settings store: a root number, a
// path "key\name", and typed values that a read accepts only in its own type.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/kernel/settings_roots.h"
#include "runtime/value.h"

namespace tavrin {

// int root, text path, [optional] text default → text (string or expanded
// expandable string; otherwise the default).
void ReadRegistryText(Value* result, int32_t argc, const Value* argv);
// int root, text path, [optional] int default → int (a 32-bit number; otherwise the default).
void ReadRegistryInt(Value* result, int32_t argc, const Value* argv);
// int root, text path, [optional] byte-set default → byte-set (binary data; otherwise the default).
void ReadRegistryByteSet(Value* result, int32_t argc, const Value* argv);
// int root, text path, value → bool: stored (int and other numbers as a 32-bit
// number, text as a string, byte-set as binary, other kinds as their raw bytes).
void WriteRegistry(Value* result, int32_t argc, const Value* argv);

// Where the store lives. Points the user's store at another directory (UTF-8;
// empty restores the default); tests use it to keep away from the real configuration.
void SetSettingsDirectory(const std::string& utf8Directory);
// The directory of the user's store: <configuration directory>/tavrin.
std::string SettingsDirectory();
// The file of the user's store (UTF-8).
std::string UserSettingsFile();

}  // namespace tavrin
