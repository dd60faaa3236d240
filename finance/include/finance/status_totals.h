// The running totals in the status bar: panes 1, 3 and 5 in 元 or 万元.
#pragma once

#include <string>

namespace tavrin::finance {

// Recomputes Balance and writes panes 1, 3 and 5: the exact sums to the cent
// ("4.602345万元", "5292.3元", "-2万元"); pane 0 names the period the pages
// show ("〔2025年3月〕总收入：", "〔全部〕总收入："), which all three cover.
// A note shown before is taken down.
void UpdateStatusTotals();
// A note (GBK, "备注：…") in the remark pane, where the author's panes make way for it.
void ShowStatusNote(const std::string& gbk);

}  // namespace tavrin::finance
