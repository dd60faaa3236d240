#include "formula_stand_in.h"

#include "app/program_wiring.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "runtime/shell/application.h"

namespace tavrin::printing::stand_in {

void Start(int argc, char** argv) {
    app::InstallChartsAndPrinting();
    forms::InstallWindowSystem(fst::kHandlerNames, fst::kHandlerNameCount);
    ApplicationImage image;
    image.templateSegment = fst::kTemplateSegment;
    image.templateSize = fst::kTemplateSegmentSize;
    image.handlers = app::ProgramHandlers().data();
    image.handlerCount = app::ProgramHandlers().size();
    InitializeForTests(argc, argv, image);
}

bool OpenStandIn() {
    if (!forms::LoadWindow(fst::ids::StandInWindow)) return false;
    SetFormulaListControls({fst::ids::StandInWindow, fst::ids::DisplayList, fst::ids::NewColumnList,
                            fst::ids::StatisticsList});
    return true;
}

}  // namespace tavrin::printing::stand_in
