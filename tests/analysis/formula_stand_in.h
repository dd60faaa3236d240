// The formula window compiled from the program's own template beside a window
// that stands in for the print settings window (templates in fst::), for the
// formula tests and the picture of the formula window.
#pragma once

#include "fst_templates.h"

namespace tavrin::printing::stand_in {

// Installs the charts and printed tables and the window layer over the two windows, then
// starts the runtime with the program's handlers.
void Start(int argc, char** argv);

// Loads the stand-in and makes its lists the lists the formula columns keep
// in step; false when it does not load.
bool OpenStandIn();

}  // namespace tavrin::printing::stand_in
