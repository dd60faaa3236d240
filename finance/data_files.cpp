// Creation of the data files with the fields of the income, expense and
// category files, and the reports for files that cannot be used.
#include "data_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app_constants.h"
#include "recordstore/open_repairs.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

struct FieldSpec {
    const char* name;
    int32_t type;
    int32_t size;
};

// CreateDatabase with the bare name; the field array starts as newly made.
bool CreateDataFile(const char* gbkName, std::initializer_list<FieldSpec> fields) {
    ArrayBlock* array = NewFieldInfArray(uint32_t(fields.size()));
    FieldInf* f = FieldInfElements(array);
    for (const FieldSpec& field : fields) {
        f->name = field.name;
        f->type = field.type;
        f->size = field.size;
        ++f;
    }
    const Value ok = CallKernel(CreateDatabase, MakeTextRef(gbkName), MakeFieldInfArray(array));
    Free(array);
    return ok.asBool();
}

constexpr int32_t kText = 10, kFloat = 5, kDateTime = 8;

}  // namespace

void CreateIncomeFile() {
    CreateDataFile(app::IncomeFile, {{app::IncomeCategoryField, kText, 20},
                                     {app::IncomeAmountField, kFloat, 20},
                                     {app::IncomeTimeField, kDateTime, 20},
                                     {app::IncomeRemarkField, kText, 50}});
}

void CreateExpenseFile() {
    CreateDataFile(app::ExpenseFile, {{app::ExpenseCategoryField, kText, 20},
                                      {app::ExpenseAmountField, kFloat, 20},
                                      {app::ExpenseTimeField, kDateTime, 20},
                                      {app::ExpenseRemarkField, kText, 50}});
}

void CreateIncomeCategoryFile() {
    CreateDataFile(app::IncomeCategoryFile, {{app::IncomeCategoryValueField, kText, 20}});
}

void CreateExpenseCategoryFile() {
    CreateDataFile(app::ExpenseCategoryFile, {{app::ExpenseCategoryValueField, kText, 20}});
}

// What the openings mended after a power cut or a crash, said once: the file
// stays mended, so the next opening has nothing to say. Each file is named by
// its own path ('/' never ends a GBK character), whichever opening mended it.
void ReportRepairs() {
    for (const rs::OpenRepairs& r : rs::TakeOpenRepairs()) {
        const std::string name = r.gbkPath.substr(r.gbkPath.rfind('/') + 1);
        std::string text = std::string(app::RepairedBefore) + name + app::RepairedAfter;
        char part[160];
        if (r.recordsDropped > 0) {
            std::snprintf(part, sizeof part, app::RepairedRecords, r.recordsDropped);
            text += part;
        }
        if (r.trailingBytesDropped > 0) {
            std::snprintf(part, sizeof part, app::RepairedTrailing,
                          static_cast<long long>(r.trailingBytesDropped));
            text += part;
        }
        if (r.fieldsCleared > 0) {
            std::snprintf(part, sizeof part, app::RepairedFields, r.fieldsCleared);
            text += part;
        }
        if (r.freeListRebuilt) text += app::RepairedFreeList;
        text += app::RepairedEnd;
        ShowMessage(text.c_str(), kIconInformation, app::OperationCaption);
    }
}

bool OpenDataFile(const char* gbkName) {
    const bool opened = CallKernel(OpenDatabase, MakeTextRef(gbkName)).asBool();
    ReportRepairs();
    return opened;
}

void CloseCurrentDatabase() {
    CallKernel(CloseDatabase);
}

bool DataFileExists(const char* gbkName) {
    struct stat st;
    // Through links: a link whose target is missing names a file still to be made.
    return stat(NativePath(gbkName).c_str(), &st) == 0;
}

void ReportUnusableFile(const char* gbkName) {
    const std::string text =
        std::string(app::FileUnusableBefore) + gbkName + app::FileUnusableAfter;
    ShowMessage(text.c_str(), kIconStop, app::ErrorCaption);
}

void ReportUncreatableFile(const char* gbkName) {
    const std::string text =
        std::string(app::FileCannotCreateBefore) + gbkName + app::FileCannotCreateAfter;
    ShowMessage(text.c_str(), kIconStop, app::ErrorCaption);
}

void ReportWriteFailed(const char* gbkName) {
    const std::string text = std::string(app::WriteFailedBefore) + gbkName + app::WriteFailedAfter;
    ShowMessage(text.c_str(), kIconStop, app::ErrorCaption);
}

void ReportAccessFailed(const char* gbkName) {
    const std::string text =
        std::string(app::AccessFailedBefore) + gbkName + app::AccessFailedAfter;
    ShowMessage(text.c_str(), kIconStop, app::ErrorCaption);
}

}  // namespace tavrin::finance
