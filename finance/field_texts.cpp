// Field widths and whole-character cuts of GBK texts.
#include "finance/field_texts.h"

#include "finance/data_files.h"
#include "finance/sides.h"
#include "finance/ui.h"
#include "forms/properties.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_file.h"
#include "runtime/gbk.h"

namespace finance {

using namespace tavrin;

int32_t TextFieldWidth(const char* gbkField) {
    const rs::Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return 0;
    for (const rs::FieldDescriptor& f : db->fields)
        if (f.type == rs::kFieldText && f.name == gbkField) return f.width;
    return 0;
}

std::string FitToWidth(std::string_view gbk, int32_t width) {
    return std::string(gbk.substr(0, GbkWholeCharacterPrefix(gbk, size_t(std::max(width, 0)))));
}

void LimitRemarkEdits() {
    namespace fp = tavrin::forms::Prop;
    for (const Side* side : {&IncomeSide(), &ExpenseSide()}) {
        if (!OpenDataFile(side->file)) continue;
        const int32_t width = TextFieldWidth(side->remarkField);
        CloseCurrentDatabase();
        if (width > 0)
            WriteIntProperty(ids::MainWindow, side->remarkEdit,
                             fp::kOwn + tavrin::forms::EditProp::kMaxLength, width);
    }
}

}  // namespace finance
