// Writing the finance data files through the record commands.
#include "item_files.h"

#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"

namespace bench {

using namespace tavrin;

namespace {

std::vector<std::string> ToGbk(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const std::string& text : utf8) out.push_back(Utf8ToGbk(text));
    return out;
}

// Creates a record file with text (10), float (5) and date-time (8) fields and opens it.
void CreateAndOpen(const char* utf8File, const std::vector<FieldInf>& fields) {
    ArrayBlock* array = NewFieldInfArray(uint32_t(fields.size()));
    FieldInf* f = FieldInfElements(array);
    for (const FieldInf& field : fields) *f++ = field;
    const std::string file = Utf8ToGbk(utf8File);
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
}

}  // namespace

void WriteItemFile(Side side, const std::vector<std::string>& categories,
                   const std::vector<std::string>& remarks, int count,
                   const std::function<ItemRow(int)>& item) {
    const bool income = side == Side::kIncome;
    const std::vector<std::string> names =
        ToGbk(income ? std::vector<std::string>{"收入类型", "收入金额", "收入时间", "收入备注信息"}
                     : std::vector<std::string>{"支出类型", "支出金额", "支出时间", "备注信息"});
    CreateAndOpen(income ? "财务收入.edb" : "财务支出.edb",
                  {FieldInf{names[0].c_str(), 10, 20}, FieldInf{names[1].c_str(), 5, 20},
                   FieldInf{names[2].c_str(), 8, 20}, FieldInf{names[3].c_str(), 10, 50}});
    const std::vector<std::string> cats = ToGbk(categories), notes = ToGbk(remarks);
    for (int i = 0; i < count; ++i) {
        const ItemRow row = item(i);
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(cats.at(row.category).c_str()));
        CallKernel(WriteField, MakeInt(2), MakeFloat(row.amount));
        CallKernel(WriteField, MakeInt(3), MakeDateTime(row.time));
        CallKernel(WriteField, MakeInt(4), MakeTextRef(notes.at(row.remark).c_str()));
    }
    CallKernel(CloseDatabase);
}

void WriteCategoryFile(Side side, const std::vector<std::string>& categories) {
    const bool income = side == Side::kIncome;
    const std::string field = Utf8ToGbk(income ? "收入类型值" : "支出类型值");
    CreateAndOpen(income ? "收入类型.edb" : "支出类型.edb", {FieldInf{field.c_str(), 10, 20}});
    for (const std::string& text : ToGbk(categories)) {
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(text.c_str()));
    }
    CallKernel(CloseDatabase);
}

}  // namespace bench
