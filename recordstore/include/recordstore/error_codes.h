// The engine's result codes: 0 for success, otherwise the negative code whose
// message the DatabaseError table gives. Every engine routine returns one; the
// type is nodiscard so that a result dropped on the floor is a warning, and it
// turns into the application's plain number only at the record commands.
#pragma once

#include <cstdint>

namespace tavrin::rs {

// The formatter takes the attribute for the start of an initialiser.
// clang-format off
enum class [[nodiscard]] Code : int32_t {
    // clang-format on
    kOk = 0,
    kUnknown = -1,
    kCreateFailed = -2,
    kFileNotFound = -3,
    kBadPath = -4,
    kTooManyOpenFiles = -5,
    kAccessDenied = -6,
    kBadHandle = -7,
    kRemoveCurrentDir = -8,
    kDirectoryFull = -9,
    kSeekFailed = -10,
    kHardIo = -11,
    kSharingViolation = -12,
    kLockViolation = -13,
    kDiskFull = -14,
    kEndOfFile = -15,
    kNoFields = -16,
    kBadFieldType = -17,
    kBadFieldName = -18,
    kBadFieldSize = -19,
    kDuplicateField = -20,
    kOpenFailed = -21,
    kNotDatabase = -22,
    kVersionTooHigh = -23,
    kBadAlias = -24,
    kBeforeFirst = -25,
    kAfterLast = -26,
    kNotOpen = -27,
    kLockFailed = -28,
    kUnlockFailed = -29,
    kIndexOpenFailed = -30,
    kTooManyIndexFiles = -34,
    kBlockFileUnreadable = -35,
    kBlockFileVersion = -36,
    kBlockFileBroken = -37,
    kAlreadyOpen = -38,
    kFieldNotFound = -40,
    kRecordMissing = -44,
    kReadFieldFailed = -46,
    kWriteFieldFailed = -47,
    kFileSizeWrong = -48,
    kCreateBlockFileFailed = -50,
    kBlockFileAccess = -59,
    kNoCurrentRecord = -60,
    kNoSuchField = -61,
    kReadRecordFailed = -62,
    kWriteRecordFailed = -63,
    kRecordCountFailed = -65,
    kDatabaseNotOpen = -66,
    kNoCurrentDatabase = -67,
    kValueKindMismatch = -72,
    kExpressionKind = -76,
    kWrongPassword = -78,
    kPasswordUpdateFailed = -79,
    kBadPasswordText = -80,
};

// True for the two failures that the lock wait time lets us retry.
constexpr bool IsBusy(Code code) {
    return code == Code::kSharingViolation || code == Code::kLockViolation;
}

// The number the application sees for a code (the record commands' last error).
constexpr int32_t ToInt(Code code) {
    return static_cast<int32_t>(code);
}

}  // namespace tavrin::rs
