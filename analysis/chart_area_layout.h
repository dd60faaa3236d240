// The chart area of the main window as the window grows: the period selector
// with its charts takes the room to the right of the entry group, the lists
// keep the space below it, and the side picture keeps its proportions.
#pragma once

namespace tavrin::analysis {

// Places 外形框1 (with its page controls and both charts), 图片框1 and the two
// item lists for the main window's client size. At the template's size every
// part has its template size; it never gets smaller.
void LayoutChartArea();

}  // namespace tavrin::analysis
