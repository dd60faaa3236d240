// The application's start routine.
#include "finance/start_routine.h"

#include "app_constants.h"
#include "app_tpl_templates.h"
#include "finance/app_state.h"
#include "finance/handlers.h"
#include "listing.h"
#include "password_dialog.h"
#include "runtime/commands.h"
#include "runtime/memory.h"
#include "single_instance.h"

namespace tavrin::finance {
namespace {

void EmptyStartSubroutine() {}

}  // namespace

AppState& State() {
    static AppState state;
    return state;
}

void ExitHandler() {
    AppState& s = State();
    tavrin::FreeArray(s.incomeCategoryList, tavrin::TypeCode::kText);
    tavrin::FreeArray(s.expenseCategoryList, tavrin::TypeCode::kText);
    s.incomeCategoryList = s.expenseCategoryList = nullptr;
}

void PrepareGlobalState() {
    AppState& s = State();
    s.incomeCategoryList = tavrin::NewEmptyArray();
    s.expenseCategoryList = tavrin::NewEmptyArray();
    InstallPasswordDialog();
    tavrin::MiscRoutine(tavrin::kMiscSetExitHandler,
                        uint64_t(reinterpret_cast<uintptr_t>(&ExitHandler)));
}

int StartRoutine() {
    tavrin::MiscRoutine(tavrin::kMiscInitializeRuntime);
    PrepareGlobalState();
    EmptyStartSubroutine();
    // A program already running over these files shows its window instead.
    switch (HandOverToRunningProgram()) {
        case HandOver::kNoneRunning:
            break;
        case HandOver::kShown:
            return 0;
        case HandOver::kNotAnswering:
            return 1;
    }
    tavrin::LoadStartWindow(kMainWindowId);
    tavrin::RunMessageLoop();
    return 0;
}

tavrin::ApplicationImage ProgramImage() {
    static const tavrin::DllCommandDeclaration kDllCommands[] = {
        {app::UserInterfaceLibrary, app::FindWindowExport},
        {app::UserInterfaceLibrary, app::GetWindowTextExport},
        {app::UserInterfaceLibrary, app::GetWindowTextLengthExport},
    };
    tavrin::ApplicationImage image;
    image.constantSegment = app::SegmentBegin();
    image.constantSize = app::SegmentSize();
    image.templateSegment = app_tpl::kTemplateSegment;
    image.templateSize = app_tpl::kTemplateSegmentSize;
    image.handlers = Handlers().data();
    image.handlerCount = Handlers().size();
    image.startRoutine = &StartRoutine;
    image.dllCommands = kDllCommands;
    image.dllCommandCount = 3;
    return image;
}

void ResetRunStateForTests() {
    ExitHandler();
    State() = AppState{};
    ForgetListedYears();
    PrepareGlobalState();
}

}  // namespace tavrin::finance
