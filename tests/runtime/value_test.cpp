// Value kinds, classification, raw bytes and date-time clamping.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/memory.h"
#include "runtime/value.h"

using namespace tavrin;

TEST(Value, StaysTwelveBytesAndCarriesPointersInBothWords) {
    static_assert(sizeof(Value) == 12);
    const char* text = "abc";
    Value v = MakeTextRef(text);
    EXPECT_EQ(v.asText(), text);
    EXPECT_EQ(v.payload() >> 32, v.hi);  // the high half of the pointer lives in hi
}

TEST(Value, ClassifiesTypeCodes) {
    EXPECT_EQ(ClassifyType(0), TypeClass::Nothing);
    EXPECT_EQ(ClassifyType(TypeCode::kText), TypeClass::Basic);
    EXPECT_EQ(ClassifyType(TypeCode::kInt | TypeCode::kArrayBit), TypeClass::Basic);
    EXPECT_EQ(ClassifyType(0x00020004), TypeClass::LibraryType);
    EXPECT_EQ(ClassifyType(0x3FFFFFFF), TypeClass::LibraryType);
    EXPECT_EQ(ClassifyType(0x40000000), TypeClass::ProgramType);
    EXPECT_EQ(ClassifyType(0xC0000000), TypeClass::ProgramType);

    for (uint32_t t : {TypeCode::kByte, TypeCode::kShort, TypeCode::kInt, TypeCode::kLong,
                       TypeCode::kFloat, TypeCode::kDouble})
        EXPECT_TRUE(IsNumericType(t)) << std::hex << t;
    for (uint32_t t : {TypeCode::kBool, TypeCode::kDateTime, TypeCode::kText, TypeCode::kByteSet,
                       TypeCode::kInt | TypeCode::kArrayBit, 0x00010001u})
        EXPECT_FALSE(IsNumericType(t)) << std::hex << t;

    EXPECT_TRUE(IsArrayType(TypeCode::kText | TypeCode::kArrayBit));
    EXPECT_FALSE(IsArrayType(0x20000001));  // a library type with that bit is no array
}

TEST(Value, SizesOfKinds) {
    EXPECT_EQ(SizeOfKind(TypeCode::kByte), 1u);
    EXPECT_EQ(SizeOfKind(TypeCode::kShort), 2u);
    EXPECT_EQ(SizeOfKind(TypeCode::kBool), 4u);
    EXPECT_EQ(SizeOfKind(TypeCode::kText), 4u);
    EXPECT_EQ(SizeOfKind(TypeCode::kDateTime), 8u);
    EXPECT_EQ(SizeOfKind(TypeCode::kDeferred), 8u);
    EXPECT_EQ(SizeOfKind(0x00020004), 0u);
}

TEST(Value, BoolFromAnyNonZeroReadsBackAsOne) {
    EXPECT_EQ(MakeBool(0x1234).lo, 1u);
    EXPECT_EQ(MakeBool(false).lo, 0u);
    Value raw{7, 0, TypeCode::kBool};
    EXPECT_EQ(RawBytes(raw), std::string("\x01\0\0\0", 4));
}

TEST(Value, RawBytesFollowTheKind) {
    EXPECT_EQ(RawBytes(MakeShort(-2)), std::string("\xFE\xFF", 2));
    EXPECT_EQ(RawBytes(MakeInt(0x01020304)), std::string("\x04\x03\x02\x01", 4));
    double d = 1.5;
    EXPECT_EQ(RawBytes(MakeDouble(d)), std::string(reinterpret_cast<char*>(&d), 8));
    EXPECT_EQ(RawBytes(MakeTextRef("ab")), std::string("ab\0", 3));
    EXPECT_EQ(RawBytes(MakeTextRef(nullptr)), std::string("\0", 1));
    ByteSetBlock* b = NewByteSet("\x00\x01\x02", 3);
    EXPECT_EQ(RawBytes(MakeByteSetRef(b)), std::string("\x00\x01\x02", 3));
    Free(b);
    uint32_t sizes[] = {3};
    ArrayBlock* a = NewArray(1, sizes, 2);
    reinterpret_cast<int16_t*>(a->elements())[1] = 0x0102;
    Value arr{0, 0, TypeCode::kShort | TypeCode::kArrayBit};
    arr.setPointer(a);
    EXPECT_EQ(RawBytes(arr), std::string("\0\0\x02\x01\0\0", 6));
    Free(a);
    EXPECT_EQ(RawBytes(MakeControlRef(0x52010001, 0x16010001, 0x00020004)), "");
}

TEST(Value, DateTimeFromRawBytesIsClamped) {
    double high = 3000000.0, low = -700000.0, inside = 41030.5;
    EXPECT_EQ(MakeDateTimeFromBytes(&high).asDouble(), 2958465.0);
    EXPECT_EQ(MakeDateTimeFromBytes(&low).asDouble(), -657434.0);
    EXPECT_EQ(MakeDateTimeFromBytes(&inside).asDouble(), 41030.5);
    EXPECT_EQ(MakeDateTimeFromBytes(&high).type, TypeCode::kDateTime);
}

TEST(Value, FailedDateHasTheFixedBitPattern) {
    Value v = MakeDateTime(kMinDateTime);
    EXPECT_EQ(v.hi, 0xC1241034u);
    EXPECT_EQ(v.lo, 0u);
}

TEST(Value, OmittedArgumentIsAbsentButExplicitZeroIsPresent) {
    EXPECT_FALSE(Value{}.present());
    EXPECT_TRUE(MakeInt(0).present());
}

namespace {
Value YieldsTrue(void*) { return MakeBool(true); }
Value YieldsCount(void* ctx) { return MakeInt(++*static_cast<int*>(ctx)); }
}  // namespace

TEST(Value, DeferredArgumentIsEvaluatedOnDemandWithItsContext) {
    int counter = 0;
    DeferredArgument d{&YieldsCount, &counter};
    Value v = MakeDeferred(&d);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(EvaluateDeferred(v).asInt(), 1);
    EXPECT_EQ(EvaluateDeferred(v).asInt(), 2);
    DeferredArgument t{&YieldsTrue, nullptr};
    EXPECT_TRUE(EvaluateCondition(MakeDeferred(&t)));
    EXPECT_FALSE(EvaluateCondition(MakeBool(false)));
}
