// The DatabaseError message table and the per-thread last database error.
#include "internal/file_posix.h"
#include "recordstore/database_manager.h"
#include "rs_text_constants.h"

namespace tavrin {

namespace detail {
// Initial-exec: the library is linked into the program itself.
constinit __attribute__((tls_model("initial-exec"))) thread_local int32_t tLastDatabaseError = 0;
}  // namespace detail

namespace {

// Messages by the negated code; codes without a message (77, 81 and beyond) are unknown.
const char* const* const kMessages[] = {
    nullptr,       &rs_text::E1,  &rs_text::E2,  &rs_text::E3,  &rs_text::E4,  &rs_text::E5,
    &rs_text::E6,  &rs_text::E7,  &rs_text::E8,  &rs_text::E9,  &rs_text::E10, &rs_text::E11,
    &rs_text::E12, &rs_text::E13, &rs_text::E14, &rs_text::E15, &rs_text::E16, &rs_text::E17,
    &rs_text::E18, &rs_text::E19, &rs_text::E20, &rs_text::E21, &rs_text::E22, &rs_text::E23,
    &rs_text::E24, &rs_text::E25, &rs_text::E26, &rs_text::E27, &rs_text::E28, &rs_text::E29,
    &rs_text::E30, &rs_text::E31, &rs_text::E32, &rs_text::E33, &rs_text::E34, &rs_text::E35,
    &rs_text::E36, &rs_text::E37, &rs_text::E38, &rs_text::E39, &rs_text::E40, &rs_text::E41,
    &rs_text::E42, &rs_text::E43, &rs_text::E44, &rs_text::E45, &rs_text::E46, &rs_text::E47,
    &rs_text::E48, &rs_text::E49, &rs_text::E50, &rs_text::E51, &rs_text::E52, &rs_text::E53,
    &rs_text::E54, &rs_text::E55, &rs_text::E56, &rs_text::E57, &rs_text::E58, &rs_text::E59,
    &rs_text::E60, &rs_text::E61, &rs_text::E62, &rs_text::E63, &rs_text::E64, &rs_text::E65,
    &rs_text::E66, &rs_text::E67, &rs_text::E68, &rs_text::E69, &rs_text::E70, &rs_text::E71,
    &rs_text::E72, &rs_text::E73, &rs_text::E74, &rs_text::E75, &rs_text::E76, nullptr,
    &rs_text::E78, &rs_text::E79, &rs_text::E80,
};
constexpr int32_t kMessageCount = int32_t(sizeof kMessages / sizeof kMessages[0]);

}  // namespace

const char* DatabaseError(rs::Code code) {
    if (code == rs::Code::kOk) return "";
    const int32_t index = -rs::ToInt(code);
    if (index <= 0 || index >= kMessageCount || kMessages[index] == nullptr) return rs_text::E1;
    return *kMessages[index];
}

int32_t DatabaseLockWaitTime() {
    return rs::LockWaitTime();
}
void SetDatabaseLockWaitTime(int32_t ms) {
    rs::SetLockWaitTime(ms);
}

}  // namespace tavrin
