// ReadField and WriteField: a field's bytes converted to and from the Value of
// its kind; memo and byte-set values go through the block chain.
#include <algorithm>
#include <vector>

#include "internal/block_file.h"
#include "internal/command_support.h"
#include "internal/scratch_bytes.h"
#include "recordstore/record_commands.h"
#include "rs_text_constants.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"

namespace tavrin {

using namespace rs;

Value rs::FieldValueOfBytes(const FieldDescriptor& f, const uint8_t* bytes) {
    Value v{0, 0, FieldValueType(f.type)};
    switch (f.type) {
        case kFieldByte:
            v.lo = bytes[0];
            break;
        case kFieldShort:
            v.lo = LoadLe<uint16_t>(bytes);
            break;
        case kFieldInt:
        case kFieldFloat:
        case kFieldFourBytes:
            v.lo = uint32_t(GetI32(bytes));
            break;
        case kFieldLong:
        case kFieldDouble:
            std::memcpy(&v.lo, bytes, 8);
            break;
        case kFieldBool:
            v.lo = bytes[0] != 0;
            break;
        case kFieldDateTime:
            v = MakeDateTime(ClampDateTime(GetF64(bytes)));
            break;
        case kFieldText: {
            const char* text = reinterpret_cast<const char*>(bytes);
            size_t n = 0;
            while (n < size_t(f.width) && text[n] != 0) ++n;
            v.setPointer(CopyText(std::string_view(text, n)));
            break;
        }
        default:
            break;
    }
    return v;
}

namespace {

// Bytes of a fixed-width field for a value already of (or converted to) its kind.
Code BytesOfValue(const FieldDescriptor& f, const Value* value, uint8_t* out) {
    std::memset(out, 0, size_t(f.width));
    if (value == nullptr) return Code::kOk;  // the empty value of the kind
    const uint32_t want = FieldValueType(f.type);
    const bool numericPair = IsNumericType(value->type) && IsNumericType(want);
    if (value->type != want && !numericPair) return Code::kValueKindMismatch;
    switch (f.type) {
        case kFieldByte:
            out[0] = uint8_t(IntegerOf(*value));
            break;
        case kFieldShort: {
            uint16_t s = uint16_t(IntegerOf(*value));
            out[0] = uint8_t(s);
            out[1] = uint8_t(s >> 8);
            break;
        }
        case kFieldInt:
            PutI32(out, int32_t(IntegerOf(*value)));
            break;
        case kFieldLong: {
            int64_t l = IntegerOf(*value);
            std::memcpy(out, &l, 8);
            break;
        }
        case kFieldFloat: {
            float x = value->type == TypeCode::kFloat ? value->asFloat() : float(NumberOf(*value));
            std::memcpy(out, &x, 4);
            break;
        }
        case kFieldDouble: {
            double d = NumberOf(*value);
            std::memcpy(out, &d, 8);
            break;
        }
        case kFieldBool:
            out[0] = value->lo != 0;
            break;
        case kFieldDateTime:
            std::memcpy(out, &value->lo, 8);
            break;
        case kFieldFourBytes:
            PutI32(out, int32_t(value->lo));
            break;
        case kFieldText: {
            std::string_view text = TextOf(*value);
            std::memcpy(out, text.data(), GbkWholeCharacterPrefix(text, size_t(f.width)));
            break;
        }
        default:
            break;
    }
    return Code::kOk;
}

Value EmptyValueOf(const FieldDescriptor& f) {
    return Value{0, 0, FieldValueType(f.type)};
}

// The chain bytes of a memo or byte-set value.
std::string_view ChainBytesOf(const FieldDescriptor& f, const Value* value) {
    if (value == nullptr) return {};
    if (f.type == kFieldMemo) return TextOf(*value);
    return ByteSetOf(*value);
}

Code WriteChainField(Database& db, const FieldDescriptor& f, const Value* value) {
    const uint32_t want = FieldValueType(f.type);
    if (value != nullptr && value->type != want) return Code::kValueKindMismatch;
    if (db.current < 0) return Code::kNoCurrentRecord;
    // The record lock is held over reading the old chain head, the chain write
    // and storing the new head.
    ByteLock lock(db.records, db.recordOffset(db.current), LockWaitTime());
    if (lock.code() != Code::kOk) return lock.code();
    uint8_t head[4];
    Code code = ReadFieldBytes(db, db.current, f, head);
    if (code == Code::kSeekFailed || code == Code::kReadFieldFailed) return Code::kNoCurrentRecord;
    if (code != Code::kOk) return code;
    if (!db.blocks) return Code::kWriteFieldFailed;
    std::string_view bytes = ChainBytesOf(f, value);
    if (bytes.empty()) {
        // Clearing: the field lets go of the chain, durably, before its blocks
        // are freed, so neither a crash nor a power cut in between can leave
        // the record pointing at blocks the free list hands out again.
        const int32_t old = GetI32(head);
        if (old <= 0) return Code::kOk;
        PutI32(head, 0);
        if (code = WriteFieldBytes(db, db.current, f, head); code != Code::kOk) return code;
        if (code = db.records.file.syncData(); code != Code::kOk) return code;
        return FreeChain(db.blocks.get(), old);
    }
    int32_t first = 0;
    code = WriteChain(db.blocks.get(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                      GetI32(head), &first);
    if (code != Code::kOk) return code;
    if (first == GetI32(head)) return Code::kOk;
    PutI32(head, first);
    return WriteFieldBytes(db, db.current, f, head);
}

}  // namespace

void ReadField(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) ReportFatalError(rs_text::NoCurrentDatabase);
    const FieldDescriptor* f = ResolveField(*db, argc > 0 ? argv[0] : Value{});
    if (f == nullptr) ReportFatalError(rs_text::FieldMissing);
    if (db->scanRecord() != nullptr && !IsChainField(f->type)) {
        *result = FieldValueOfBytes(*f, db->scanRecord() + f->offset);  // scans: no file access
        return;
    }
    *result = EmptyValueOf(*f);
    // The record's lock byte stays held for the next field of the same record;
    // the read below nests inside it.
    if (code = HoldRecord(*db, db->current); !code.ok()) return;
    ScratchBytes<16> scratch(size_t(f->width));
    uint8_t* bytes = scratch.data();
    if (code = ReadFieldBytes(*db, db->current, *f, bytes); !code.ok()) return;
    if (!IsChainField(f->type)) {
        *result = FieldValueOfBytes(*f, bytes);
        return;
    }
    if (!db->blocks) {
        code = Code::kReadFieldFailed;
        return;
    }
    std::string chain;
    if (code = ReadChain(db->blocks.get(), GetI32(bytes), &chain); !code.ok()) return;
    if (f->type == kFieldMemo) {
        result->setPointer(CopyText(std::string_view(chain)));  // cut at the first NUL
    } else {
        result->setPointer(NewByteSet(chain.data(), chain.size()));
    }
}

void WriteField(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) {
        code = Code::kDatabaseNotOpen;
        return;
    }
    const FieldDescriptor* f = ResolveField(*db, argc > 0 ? argv[0] : Value{});
    if (f == nullptr) {
        code = Code::kNoSuchField;
        return;
    }
    const Value* value = argc > 1 && argv[1].type != TypeCode::kNone ? &argv[1] : nullptr;
    // The record's lock byte stays held for the next field of the same record.
    if (code = HoldRecord(*db, db->current); !code.ok()) return;
    try {
        if (IsChainField(f->type)) {
            code = WriteChainField(*db, *f, value);
        } else {
            ScratchBytes<16> scratch(size_t(f->width));
            uint8_t* bytes = scratch.data();
            if (code = BytesOfValue(*f, value, bytes); code.ok()) {
                // The flag speaks of the held record, which HoldRecord made the
                // current one (there is none before the first record).
                assert(db->current < 0 || db->heldRecord() == db->current);
                bool inside = db->heldRecordInside();
                code = WriteFieldBytes(*db, db->current, *f, bytes, &inside);
                db->noteHeldRecordInside(inside);
            }
        }
    } catch (...) {
        code = Code::kWriteFieldFailed;
    }
    result->lo = code.ok();
}

bool AppendFilledRecord(const FieldAssignment* fields, int32_t count) {
    Value result;
    SucceedOnCurrentDatabase(&result, [&](Database& db) -> Code {
        try {
            std::vector<uint8_t> record(size_t(db.recordSize), 0);
            for (int32_t i = 0; i < count; ++i) {
                const FieldDescriptor* f = ResolveField(db, MakeTextRef(fields[i].field));
                if (f == nullptr) return Code::kNoSuchField;
                if (IsChainField(f->type)) return Code::kValueKindMismatch;
                const Value* value =
                    fields[i].value.type != TypeCode::kNone ? &fields[i].value : nullptr;
                if (Code code = BytesOfValue(*f, value, record.data() + f->offset);
                    code != Code::kOk)
                    return code;
            }
            // The tag's four bytes lead the record; the append writes them.
            const std::vector<const uint8_t*> bodies = {record.data() + 4};
            return AppendRecordImages(db, bodies);
        } catch (...) {
            return Code::kWriteRecordFailed;
        }
    });
    return result.asBool();
}

}  // namespace tavrin
