// Creating a database: every check in order with its own code, then the
// record file (and the block file for memo and byte-set fields) in one pass.
#include <time.h>

#include "internal/record_file.h"
#include "runtime/gbk.h"

namespace tavrin::rs {

namespace {

// Now as a date-time, whole seconds, local time.
double CreationTime() {
    time_t t = time(nullptr);
    struct tm local {};
    localtime_r(&t, &local);
    int64_t seconds = int64_t(t) + local.tm_gmtoff;
    return double(seconds) / 86400.0 + 25569.0;  // 1970-01-01 is day 25569
}

Code CheckFields(const std::vector<FieldDefinition>& fields, size_t count, int32_t* recordSize) {
    int64_t size = 4;
    for (size_t i = 0; i < count; ++i) {
        const FieldDefinition& f = fields[i];
        if (!IsValidName(f.name)) return Code::kBadFieldName;
        if (f.type < kFieldByte || f.type > kFieldMemo) return Code::kBadFieldType;
        if (f.type == kFieldText && (f.size < 1 || f.size > kMaxTextSize))
            return Code::kBadFieldSize;
        size += FieldWidth(f.type, f.size);
        if (size > 0x7FFFFFFF) return Code::kBadFieldSize;
    }
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count; ++j) {
            if (EqualNoCase(fields[i].name, fields[j].name)) return Code::kDuplicateField;
        }
    }
    *recordSize = int32_t(size);
    return Code::kOk;
}

std::vector<uint8_t> RecordFileImage(const std::vector<FieldDefinition>& fields, size_t count,
                                     int32_t recordSize) {
    std::vector<uint8_t> image(kDescriptorsOffset + kDescriptorSize * count, 0);
    PutI32(&image[kHeaderMagic], int32_t(kRecordMagic));
    PutI32(&image[kHeaderVersion], kFormatVersion);
    PutF64(&image[kHeaderCreated], CreationTime());
    PutI32(&image[kHeaderCount], 0);
    PutI32(&image[kHeaderNextSerial], 1);
    PutI32(&image[kHeaderRecordSize], recordSize);
    PutI32(&image[kFieldCountOffset], int32_t(count));
    int32_t offset = 4;
    for (size_t i = 0; i < count; ++i) {
        uint8_t* d = &image[kDescriptorsOffset + kDescriptorSize * i];
        const FieldDefinition& f = fields[i];
        std::memcpy(d, f.name.data(), f.name.size());
        PutI32(d + kDescriptorType, f.type);
        PutI32(d + kDescriptorOffset, offset);
        PutI32(d + kDescriptorTextSize, f.type == kFieldText ? f.size : 0);
        offset += FieldWidth(f.type, f.size);
    }
    // The size the header gives is the tag and the fields laid end to end.
    assert(offset == recordSize);
    return image;
}

}  // namespace

static Code CreateDatabaseFilesUnguarded(std::string_view gbkName,
                                         const std::vector<FieldDefinition>& fields) {
    if (gbkName.empty()) return Code::kFileNotFound;
    if (fields.empty()) return Code::kNoFields;
    size_t count = 0;
    while (count < fields.size() && !fields[count].name.empty()) ++count;
    if (count == 0) return Code::kNoFields;
    int32_t recordSize = 0;
    if (Code code = CheckFields(fields, count, &recordSize); code != Code::kOk) return code;
    bool chains = false;
    for (size_t i = 0; i < count; ++i) chains = chains || IsChainField(fields[i].type);

    std::string path = WithDefaultExtension(gbkName);
    if (HasWildcard(path)) return Code::kBadPath;
    PosixFile file;
    if (Code code = file.open(NativePath(path), true, Sharing::kExclusive, true);
        code != Code::kOk) {
        return code;
    }
    std::vector<uint8_t> image = RecordFileImage(fields, count, recordSize);
    if (file.writeAt(0, image.data(), image.size()) != Code::kOk) return Code::kCreateFailed;
    if (file.syncData() != Code::kOk) return Code::kCreateFailed;
    file.close();
    // The new name must survive a power cut as surely as the bytes behind it.
    if (SyncDirectoryOf(NativePath(path)) != Code::kOk) return Code::kCreateFailed;
    if (!chains) return Code::kOk;

    PosixFile blocks;
    if (blocks.open(NativePath(BlockFilePath(path)), true, Sharing::kExclusive, true) !=
        Code::kOk) {
        return Code::kCreateBlockFileFailed;
    }
    uint8_t block[kBlockSize] = {};
    PutI32(&block[kBlockHeaderMagic], int32_t(kBlockMagic));
    PutI32(&block[kBlockHeaderVersion], kFormatVersion);
    PutF64(&block[8], CreationTime());
    PutI32(&block[kBlockHeaderCount], 1);  // the header block itself
    if (blocks.writeAt(0, block, sizeof block) != Code::kOk || blocks.syncData() != Code::kOk) {
        return Code::kCreateBlockFileFailed;
    }
    blocks.close();
    if (SyncDirectoryOf(NativePath(BlockFilePath(path))) != Code::kOk)
        return Code::kCreateBlockFileFailed;
    return Code::kOk;
}

// No exception leaves the engine: anything unexpected is a failed creation.
Code CreateDatabaseFiles(std::string_view gbkName, const std::vector<FieldDefinition>& fields) {
    try {
        return CreateDatabaseFilesUnguarded(gbkName, fields);
    } catch (...) {
        return Code::kCreateFailed;
    }
}

}  // namespace tavrin::rs
