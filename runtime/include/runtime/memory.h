// The runtime heap (the process heap) with non-heap ranges, and the helpers
// every command uses to build fresh result blocks under the ownership rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace tavrin {

// A block of n bytes; on failure the fatal "分配 %d 字节内存失败!" report.
void* Allocate(size_t n);
// Null → Allocate; inside a non-heap range → a fresh copy of what fits; else resize.
void* Reallocate(void* p, size_t n);
// Null and non-heap pointers are ignored.
void Free(void* p);

// Registers a read-only range (the constant segment first) that Free ignores.
void RegisterNonHeapRange(const void* begin, size_t size);
bool IsInNonHeapRange(const void* p);
// Forgets every range (program end, and tests).
void ClearNonHeapRanges();

// Text results: a fresh NUL-terminated copy, or null for the empty text.
char* CopyText(const char* text);
char* CopyText(std::string_view bytes);  // stops at an embedded NUL
// Byte-set results: a fresh block, or null for length 0.
ByteSetBlock* NewByteSet(const void* data, size_t n);
// A fresh array block of the given sizes; elements zeroed.
ArrayBlock* NewArray(uint32_t dimensions, const uint32_t* sizes, uint32_t elementWidth);
// The empty one-dimensional array {1, 0}.
ArrayBlock* NewEmptyArray();
// Frees an array and, for text and byte-set elements, every element block.
void FreeArray(ArrayBlock* array, uint32_t elementType);
// Makes an array variable writable: a heap copy of a non-heap block (elements
// copied as they are), the heap block itself otherwise.
ArrayBlock* MakeArrayWritable(ArrayBlock* array, uint32_t elementWidth);

// Element width of an array's kind (text and byte-set elements are full pointers).
uint32_t ArrayElementWidth(uint32_t elementType);

// The value seen as raw bytes: payload bytes of numeric, bool and date-time kinds,
// text with its NUL, byte-set data, array elements; nothing for anything else.
std::string RawBytes(const Value& v);

// Borrowed views of text and byte-set payloads (null is empty).
inline std::string_view TextOf(const Value& v) {
    const char* t = v.asText();
    return t ? std::string_view(t) : std::string_view();
}
std::string_view ByteSetOf(const Value& v);

// Evaluates a condition: a bool value, or deferred code that must yield a bool.
// Any other result is freed under the ownership rules and raises the fatal
// condition error.
bool EvaluateCondition(const Value& v);

}  // namespace tavrin
