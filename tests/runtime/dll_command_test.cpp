// Resolution of external library functions.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/commands.h"

using namespace tavrin;

TEST(DllCommand, ResolvesFromTheStandardLibrariesAndByLibraryName) {
    static const DllCommandDeclaration table[] = {
        {"", "strlen"},
        {"libm.so.6", "cos"},
    };
    DeclareDllCommands(table, 2);
    auto len = reinterpret_cast<size_t (*)(const char*)>(CallDllCommand(0));
    EXPECT_EQ(len("abcd"), 4u);
    EXPECT_EQ(CallDllCommand(0), reinterpret_cast<void*>(len));  // cached
    auto cosine = reinterpret_cast<double (*)(double)>(CallDllCommand(1));
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
}
