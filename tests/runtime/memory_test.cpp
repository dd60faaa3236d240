// Ownership rules of the runtime heap and the constant segment.
#include "runtime/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/owned_text.h"

using namespace tavrin;

namespace {
const char kConstants[] = "first\0second text\0";

class MemoryTest : public ::testing::Test {
  protected:
    void SetUp() override { RegisterNonHeapRange(kConstants, sizeof kConstants); }
    void TearDown() override { ClearNonHeapRanges(); }
};
}  // namespace

TEST_F(MemoryTest, EmptyTextResultsAreNull) {
    EXPECT_EQ(CopyText(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(CopyText(""), nullptr);
    EXPECT_EQ(CopyText(std::string_view("\0abc", 4)), nullptr);
    char* t = CopyText(std::string_view("ab\0cd", 5));  // stops at the first zero byte
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t, "ab");
    Free(t);
    EXPECT_EQ(NewByteSet("x", 0), nullptr);
}

TEST_F(MemoryTest, CopiesAreFreshBlocks) {
    const char* constant = kConstants + 6;
    char* copy = CopyText(constant);
    EXPECT_NE(copy, constant);
    EXPECT_STREQ(copy, "second text");
    EXPECT_FALSE(IsInNonHeapRange(copy));
    Free(copy);
}

TEST_F(MemoryTest, FreeIgnoresNullAndTheConstantSegment) {
    Free(nullptr);
    Free(const_cast<char*>(kConstants + 6));
    EXPECT_STREQ(kConstants + 6, "second text");
}

// A scope that takes a fresh result frees its block exactly once (a second free
// aborts in the C library) and never frees what is not a block.
TEST_F(MemoryTest, OwnedTextFreesAFreshResultOnceAndNothingElse) {
    OwnedText number(CallKernel(ToText, MakeInt(42)));
    OwnedText moved(std::move(number));
    EXPECT_EQ(moved.str(), "42");
    EXPECT_TRUE(number.view().empty());
    EXPECT_EQ(TakeText(MakeByteSetRef(NewByteSet("a\0b", 3))), std::string("a\0b", 3));
    {
        const OwnedText notABlock(MakeInt(0x1000));
        const OwnedText constant(MakeTextRef(kConstants + 6));
        EXPECT_TRUE(notABlock.view().empty());
        EXPECT_EQ(notABlock.c_str(), nullptr);
        EXPECT_EQ(constant.view(), "second text");
    }
    EXPECT_STREQ(kConstants + 6, "second text");
}

TEST_F(MemoryTest, ReallocateOfAConstantYieldsAPrivateCopy) {
    void* constant = const_cast<char*>(kConstants + 6);
    auto* copy = static_cast<char*>(Reallocate(constant, 64));
    EXPECT_NE(copy, constant);
    EXPECT_STREQ(copy, "second text");  // min(n, bytes to the end of the range) copied
    copy[0] = 'S';
    EXPECT_STREQ(kConstants + 6, "second text");
    Free(copy);

    auto* small = static_cast<char*>(Reallocate(constant, 3));
    EXPECT_EQ(std::memcmp(small, "sec", 3), 0);
    Free(small);
}

TEST_F(MemoryTest, ReallocateKeepsHeapContents) {
    auto* p = static_cast<char*>(Allocate(4));
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(Reallocate(p, 1 << 20));
    EXPECT_STREQ(p, "abc");
    Free(p);
    auto* q = static_cast<char*>(Reallocate(nullptr, 8));
    ASSERT_NE(q, nullptr);
    Free(q);
}

TEST_F(MemoryTest, ArraysAreOneBasedBlocksAndEmptyIsOneZero) {
    ArrayBlock* empty = NewEmptyArray();
    EXPECT_EQ(empty->dimensions, 1u);
    EXPECT_EQ(empty->sizes()[0], 0u);
    EXPECT_EQ(empty->elementCount(), 0u);
    FreeArray(empty, TypeCode::kText);

    uint32_t sizes[] = {2, 3};
    ArrayBlock* a = NewArray(2, sizes, ArrayElementWidth(TypeCode::kText));
    EXPECT_EQ(a->elementCount(), 6u);
    // Two size words put the element pointers 4 bytes off alignment: stored by copying.
    char* texts[2] = {CopyText("x"), CopyText("y")};
    auto* slots = reinterpret_cast<unsigned char*>(a->elements());
    std::memcpy(slots, &texts[0], sizeof(char*));
    std::memcpy(slots + 5 * sizeof(char*), &texts[1], sizeof(char*));
    FreeArray(a, TypeCode::kText);  // frees the element texts too (checked by sanitizers)
}

TEST_F(MemoryTest, ConstantArrayIsMadeWritableByCopying) {
    alignas(4) static const uint32_t constantArray[] = {1, 2, 7, 9};
    RegisterNonHeapRange(constantArray, sizeof constantArray);
    auto* fixed = reinterpret_cast<ArrayBlock*>(const_cast<uint32_t*>(constantArray));
    ArrayBlock* writable = MakeArrayWritable(fixed, 4);
    ASSERT_NE(writable, fixed);
    EXPECT_EQ(writable->elementCount(), 2u);
    reinterpret_cast<uint32_t*>(writable->elements())[0] = 5;
    EXPECT_EQ(constantArray[2], 7u);
    EXPECT_EQ(MakeArrayWritable(writable, 4), writable);  // a heap block stays itself
    Free(writable);
}
