// The runtime heap over malloc, with the non-heap ranges that Free ignores.
#include "runtime/memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "rt_text_constants.h"
#include "runtime/errors.h"

namespace tavrin {
namespace {

struct Range {
    const char* begin;
    size_t size;
};

std::mutex& RangeMutex() {
    static std::mutex m;
    return m;
}
std::vector<Range>& Ranges() {
    static std::vector<Range> r;
    return r;
}

// The range holding p, or null.
const Range* FindRange(const void* p) {
    auto* c = static_cast<const char*>(p);
    for (const Range& r : Ranges())
        if (c >= r.begin && c < r.begin + r.size) return &r;
    return nullptr;
}

[[noreturn]] void AllocationFailed(size_t n) {
    char text[128];
    std::snprintf(text, sizeof text, rt_text::AllocationFailed, int(n));
    ReportFatalError(text);
}

}  // namespace

void* Allocate(size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) AllocationFailed(n);
    return p;
}

void* Reallocate(void* p, size_t n) {
    if (p == nullptr) return Allocate(n);
    size_t available = 0;
    {
        std::lock_guard lock(RangeMutex());
        if (const Range* r = FindRange(p))
            available = size_t(r->begin + r->size - static_cast<const char*>(p));
    }
    if (available > 0) {
        void* copy = Allocate(n);
        std::memcpy(copy, p, n < available ? n : available);
        return copy;
    }
    void* q = std::realloc(p, n == 0 ? 1 : n);
    if (q == nullptr) AllocationFailed(n);
    return q;
}

void Free(void* p) {
    if (p == nullptr || IsInNonHeapRange(p)) return;
    std::free(p);
}

void RegisterNonHeapRange(const void* begin, size_t size) {
    std::lock_guard lock(RangeMutex());
    Ranges().push_back(Range{static_cast<const char*>(begin), size});
}

bool IsInNonHeapRange(const void* p) {
    std::lock_guard lock(RangeMutex());
    return FindRange(p) != nullptr;
}

void ClearNonHeapRanges() {
    std::lock_guard lock(RangeMutex());
    Ranges().clear();
}

char* CopyText(const char* text) {
    if (text == nullptr || text[0] == 0) return nullptr;
    return CopyText(std::string_view(text));
}

char* CopyText(std::string_view bytes) {
    size_t n = bytes.find('\0');
    if (n == std::string_view::npos) n = bytes.size();
    if (n == 0) return nullptr;
    auto* r = static_cast<char*>(Allocate(n + 1));
    std::memcpy(r, bytes.data(), n);
    r[n] = 0;
    return r;
}

ByteSetBlock* NewByteSet(const void* data, size_t n) {
    if (n == 0) return nullptr;
    auto* b = static_cast<ByteSetBlock*>(Allocate(sizeof(ByteSetBlock) + n));
    b->marker = 1;
    b->length = uint32_t(n);
    if (data)
        std::memcpy(b->data(), data, n);
    else
        std::memset(b->data(), 0, n);
    return b;
}

uint32_t ArrayElementWidth(uint32_t elementType) {
    uint32_t kind = ElementType(elementType);
    // Elements that own a block hold a full pointer on this build.
    if (kind == TypeCode::kText || kind == TypeCode::kByteSet || kind == TypeCode::kSubroutine)
        return uint32_t(sizeof(void*));
    uint32_t w = SizeOfKind(kind);
    return w == 0 ? 4 : w;
}

ArrayBlock* NewArray(uint32_t dimensions, const uint32_t* sizes, uint32_t elementWidth) {
    uint64_t count = 1;
    for (uint32_t i = 0; i < dimensions; ++i) count *= sizes[i];
    size_t bytes = 4 + 4 * size_t(dimensions) + size_t(count * elementWidth);
    auto* a = static_cast<ArrayBlock*>(Allocate(bytes));
    a->dimensions = dimensions;
    for (uint32_t i = 0; i < dimensions; ++i) a->sizes()[i] = sizes[i];
    std::memset(a->elements(), 0, size_t(count * elementWidth));
    return a;
}

ArrayBlock* NewEmptyArray() {
    uint32_t zero = 0;
    return NewArray(1, &zero, 4);
}

void FreeArray(ArrayBlock* array, uint32_t elementType) {
    if (array == nullptr || IsInNonHeapRange(array)) return;
    uint32_t kind = ElementType(elementType);
    if (kind == TypeCode::kText || kind == TypeCode::kByteSet) {
        // Elements follow the size words directly: in an array of an even number
        // of dimensions the pointers are not 8-byte aligned, so each is copied out.
        const auto* slots = reinterpret_cast<const unsigned char*>(array->elements());
        for (uint32_t i = 0, n = array->elementCount(); i < n; ++i) {
            void* element;
            std::memcpy(&element, slots + size_t(i) * sizeof element, sizeof element);
            Free(element);
        }
    }
    Free(array);
}

ArrayBlock* MakeArrayWritable(ArrayBlock* array, uint32_t elementWidth) {
    if (array == nullptr || !IsInNonHeapRange(array)) return array;
    ArrayBlock* copy = NewArray(array->dimensions, array->sizes(), elementWidth);
    std::memcpy(copy->elements(), array->elements(), size_t(array->elementCount()) * elementWidth);
    return copy;
}

bool EvaluateCondition(const Value& v) {
    Value r = EvaluateDeferred(v);
    if (r.type == TypeCode::kBool) return r.lo != 0;
    if (r.type == TypeCode::kText || r.type == TypeCode::kByteSet) Free(r.pointer());
    ReportFatalError(rt_text::ConditionNotBool);
}

std::string_view ByteSetOf(const Value& v) {
    auto* b = static_cast<const ByteSetBlock*>(v.pointer());
    if (b == nullptr) return {};
    return std::string_view(reinterpret_cast<const char*>(b->data()), b->length);
}

std::string RawBytes(const Value& v) {
    if (IsArrayType(v.type)) {
        auto* a = static_cast<const ArrayBlock*>(v.pointer());
        if (a == nullptr) return {};
        size_t n = size_t(a->elementCount()) * ArrayElementWidth(v.type);
        return std::string(reinterpret_cast<const char*>(a->elements()), n);
    }
    switch (v.type) {
        case TypeCode::kText: {
            const char* t = v.asText();
            if (t == nullptr) return std::string(1, '\0');
            return std::string(t, std::strlen(t) + 1);
        }
        case TypeCode::kByteSet:
            return std::string(ByteSetOf(v));
        case TypeCode::kBool: {
            uint32_t one = v.lo != 0;
            return std::string(reinterpret_cast<const char*>(&one), 4);
        }
        default:
            break;
    }
    if (IsNumericType(v.type) || v.type == TypeCode::kDateTime) {
        uint64_t p = v.payload();
        return std::string(reinterpret_cast<const char*>(&p), SizeOfKind(v.type));
    }
    return {};
}

}  // namespace tavrin
