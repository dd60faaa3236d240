// What the data source commands share: the data source of argv[0] (a window
// or control that is not loaded is fatal; another kind gives null), its cell
// model, and a range argument at positions 1–4.
#pragma once

#include "runtime/value.h"
#include "table/cell_model.h"

namespace tavrin::table {

class DataSourceControl;

DataSourceControl* SourceOf(int32_t argc, const Value* argv);
CellModel* ModelOf(int32_t argc, const Value* argv, DataSourceControl** source);
// Row, column (1-based), [opt] rows, [opt] columns → 0-based; false for counts below 1.
bool RangeArgs(int32_t argc, const Value* argv, CellRange* range);

}  // namespace tavrin::table
