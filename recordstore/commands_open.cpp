// Record commands that create, open, select and close databases.
#include "internal/command_support.h"
#include "recordstore/record_commands.h"
#include "runtime/errors.h"

namespace tavrin {

using namespace rs;

ArrayBlock* NewFieldInfArray(uint32_t count) {
    const uint32_t sizes[1] = {count};
    ArrayBlock* array = NewArray(1, sizes, sizeof(FieldInf));
    FieldInf* elements = FieldInfElements(array);
    for (uint32_t i = 0; i < count; ++i) elements[i] = FieldInf{};
    return array;
}

void CreateDatabase(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    std::string_view name = TextArgument(argc, argv, 0);
    std::vector<FieldDefinition> fields;
    if (Present(argc, argv, 1)) {
        if (argv[1].type != kFieldInfArrayType) ReportRuntimeError(11);
        auto* array = static_cast<ArrayBlock*>(argv[1].pointer());
        if (array != nullptr) {
            const uint32_t n = array->elementCount();
            const FieldInf* elements = FieldInfElements(array);
            fields.reserve(n);
            for (uint32_t i = 0; i < n; ++i) {
                const FieldInf& f = elements[i];
                fields.push_back({f.name ? std::string(f.name) : std::string(), f.type, f.size});
            }
        }
    }
    code = CreateDatabaseFiles(name, fields);
    result->lo = code.ok();
}

void OpenDatabase(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    OpenOptions options;
    options.alias = std::string(TextArgument(argc, argv, 1));
    options.readOnly =
        Present(argc, argv, 2) &&
        (argv[2].type == TypeCode::kBool ? argv[2].lo == 1 : IntegerOf(argv[2]) == 1);
    options.sharing = int32_t(IntegerArgument(argc, argv, 3, 1));
    options.password = std::string(TextArgument(argc, argv, 5));
    for (int32_t i = 6; i < argc; ++i) {
        const Value& v = argv[i];
        if (v.type == TypeCode::kText) {
            options.indexFiles.emplace_back(TextOf(v));
        } else if (v.type == (TypeCode::kText | TypeCode::kArrayBit) && v.pointer() != nullptr) {
            auto* array = static_cast<const ArrayBlock*>(v.pointer());
            auto* texts = reinterpret_cast<const char* const*>(array->elements());
            for (uint32_t k = 0; k < array->elementCount(); ++k) {
                options.indexFiles.emplace_back(texts[k] ? texts[k] : "");
            }
        }
    }
    try {
        code = DatabaseManager::instance().open(TextArgument(argc, argv, 0), options);
    } catch (...) {
        code = Code::kOpenFailed;  // no exception leaves the engine
    }
    result->lo = code.ok();
}

void SelectDatabase(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    code = DatabaseManager::instance().select(TextArgument(argc, argv, 0));
    result->lo = code.ok();
}

void CloseDatabase(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    DatabaseManager::instance().close(TextArgument(argc, argv, 0));
}

void CloseAllDatabases(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    DatabaseManager::instance().closeAll();
}

}  // namespace tavrin
