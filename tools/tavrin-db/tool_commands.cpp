// The tool's commands, each on one database opened through the engine.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "internal/block_file.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

int Fail(Code code) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(DatabaseError(code)).c_str());
    return 1;
}

namespace {

int FailText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

}  // namespace

Code OpenFile(const std::string& file, bool readOnly, std::unique_ptr<Database>* db,
              Sharing sharing) {
    if (file.empty()) return Code::kFileNotFound;
    OpenRequest request;
    request.gbkPath = DatabaseManager::FullPath(WithDefaultExtension(Utf8ToGbk(file)));
    request.readOnly = readOnly;
    request.sharing = sharing;
    const Code code = OpenDatabaseFiles(request, db);
    PrintOpenRepairs();
    return code;
}

namespace {

// Visits every record with its chains read; stops at the first error.
template <typename Visit>
Code EachRecord(Database& db, Visit visit) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    int32_t count = 0;
    if (Code code = ReadRecordCount(db, &count); code != Code::kOk) return code;
    std::vector<std::string> chains(db.fields.size());
    return ScanRecords(db, 0, count, [&](const uint8_t* record, int32_t index) -> ScanStep {
        for (size_t i = 0; i < db.fields.size(); ++i) {
            const FieldDescriptor& f = db.fields[i];
            chains[i].clear();
            if (!IsChainField(f.type)) continue;
            if (!db.blocks) return Code::kReadFieldFailed;
            Code code = ReadChain(db.blocks.get(), GetI32(record + f.offset), &chains[i]);
            if (code != Code::kOk) return code;
        }
        return visit(record, index, chains);
    });
}

std::optional<int64_t> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0) return std::nullopt;
    return v;
}

}  // namespace

std::optional<Value> ParseValue(const FieldDescriptor& f, const std::string& text,
                                std::string* keep, std::vector<uint8_t>* keepBytes) {
    switch (f.type) {
        case kFieldByte:
        case kFieldShort:
        case kFieldInt:
        case kFieldLong:
        case kFieldFourBytes: {
            auto v = ParseInteger(text);
            if (!v) return std::nullopt;
            if (f.type == kFieldFourBytes) return Value{uint32_t(*v), 0, TypeCode::kSubroutine};
            return MakeLong(*v);
        }
        // Each read straight into its own precision: through double first a
        // single could be rounded twice.
        case kFieldFloat: {
            const std::optional<float> v = ReadFloat(text);
            if (!v) return std::nullopt;
            return MakeFloat(*v);
        }
        case kFieldDouble: {
            const std::optional<double> v = ReadDouble(text);
            if (!v) return std::nullopt;
            return MakeDouble(*v);
        }
        case kFieldBool:
            if (text == "1" || text == "true") return MakeBool(true);
            if (text == "0" || text == "false") return MakeBool(false);
            return std::nullopt;
        case kFieldDateTime: {
            auto d = ParseDateTime(text);
            if (!d) return std::nullopt;
            return MakeDateTime(*d);
        }
        case kFieldText:
        case kFieldMemo:
            *keep = Utf8ToGbk(text);
            return MakeTextRef(keep->c_str());
        case kFieldByteSet: {
            auto bytes = ParseHex(text);
            if (!bytes) return std::nullopt;
            keepBytes->assign(8 + bytes->size(), 0);
            auto* block = reinterpret_cast<ByteSetBlock*>(keepBytes->data());
            block->marker = 1;
            block->length = uint32_t(bytes->size());
            std::memcpy(block->data(), bytes->data(), bytes->size());
            return MakeByteSetRef(bytes->empty() ? nullptr : block);
        }
        default:
            return std::nullopt;
    }
}

int Create(const std::string& file, const std::vector<std::string>& definitions) {
    std::vector<FieldDefinition> fields;
    for (const std::string& definition : definitions) {
        size_t a = definition.find(':');
        if (a == std::string::npos)
            return FailText("bad field \"" + definition + "\": NAME:TYPE[:SIZE]");
        size_t b = definition.find(':', a + 1);
        auto type = ParseInteger(definition.substr(a + 1, b == std::string::npos ? b : b - a - 1));
        std::optional<int64_t> size = int64_t(20);
        if (b != std::string::npos) size = ParseInteger(definition.substr(b + 1));
        if (!type || !size) return FailText("bad field \"" + definition + "\": NAME:TYPE[:SIZE]");
        fields.push_back({Utf8ToGbk(definition.substr(0, a)), int32_t(*type), int32_t(*size)});
    }
    Code code = CreateDatabaseFiles(Utf8ToGbk(file), fields);
    return code == Code::kOk ? 0 : Fail(code);
}

int Info(const std::string& file) {
    std::unique_ptr<Database> db;
    if (Code code = OpenFile(file, true, &db); code != Code::kOk) return Fail(code);
    int32_t count = 0;
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return Fail(code);
    std::printf("file: %s\n", GbkToUtf8(db->fullPath).c_str());
    std::printf("magic: %.4s%s\n", reinterpret_cast<const char*>(db->header),
                GetI32(db->header) == int32_t(kPasswordMagic) ? " (password)" : "");
    std::printf("version: 0x%08X\n", unsigned(GetI32(db->header + kHeaderVersion)));
    std::printf("created: %s\n", DateTimeText(GetF64(db->header + kHeaderCreated)).c_str());
    std::printf("records: %d\n", count);
    std::printf("next serial: %d\n", GetI32(db->header + kHeaderNextSerial));
    std::printf("record size: %d\n", db->recordSize);
    std::printf("data offset: %llu\n", static_cast<unsigned long long>(db->dataOffset));
    std::printf("block file: %s\n", db->blocks ? "yes" : "no");
    std::printf("fields: %d\n", db->fieldCount());
    for (size_t i = 0; i < db->fields.size(); ++i) {
        const FieldDescriptor& f = db->fields[i];
        std::printf("  %zu. %s  type %d (%s)  offset %d  width %d\n", i + 1,
                    GbkToUtf8(f.name).c_str(), f.type, TypeName(f.type), f.offset, f.width);
    }
    return 0;
}

int Dump(const std::string& file) {
    std::unique_ptr<Database> db;
    if (Code code = OpenFile(file, true, &db); code != Code::kOk) return Fail(code);
    std::string line = "_tag";
    for (const FieldDescriptor& f : db->fields) line += "," + CsvCell(GbkToUtf8(f.name));
    std::printf("%s\r\n", line.c_str());
    Code code = EachRecord(
        *db,
        [&](const uint8_t* record, int32_t, const std::vector<std::string>& chains) -> ScanStep {
            std::string row = std::to_string(GetI32(record));
            for (size_t i = 0; i < db->fields.size(); ++i) {
                const FieldDescriptor& f = db->fields[i];
                row += "," + CsvCell(FieldText(f, record + f.offset, chains[i]));
            }
            std::fwrite(row.data(), 1, row.size(), stdout);
            std::fputs("\r\n", stdout);
            return ScanStep::GoOn();
        });
    return code == Code::kOk ? 0 : Fail(code);
}

}  // namespace tavrin::dbtool
