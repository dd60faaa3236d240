// Field widths and whole-character cuts of GBK texts.
#include "field_texts.h"

#include "data_files.h"
#include "finance/sides.h"
#include "forms/properties.h"
#include "recordstore/current_database.h"
#include "runtime/gbk.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

int32_t TextFieldWidth(const char* gbkField) {
    for (const rs::FieldInfo& f : rs::CurrentDatabaseFields())
        if (f.type == rs::kFieldText && f.name == gbkField) return f.width;
    return 0;
}

std::string FitToWidth(std::string_view gbk, int32_t width) {
    return std::string(gbk.substr(0, GbkWholeCharacterPrefix(gbk, size_t(std::max(width, 0)))));
}

void LimitRemarkEdits() {
    namespace fp = tavrin::forms::Prop;
    for (const Side* side : {&IncomeSide(), &ExpenseSide()}) {
        OpenedDataFile file(side->file);
        if (!file) continue;
        const int32_t width = TextFieldWidth(side->remarkField);
        file.close();
        if (width > 0)
            WriteIntProperty(ids::MainWindow, side->remarkEdit,
                             fp::kOwn + tavrin::forms::EditProp::kMaxLength, width);
    }
}

}  // namespace tavrin::finance
