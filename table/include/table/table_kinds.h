// Registers the table component's kinds with the window layer: grid, table
// data source, general data provider and database provider.
#pragma once

namespace tavrin::table {

void RegisterTableKinds();

}  // namespace tavrin::table
