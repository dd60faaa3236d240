// The data components of the category editors: a database provider that opens
// its record file itself (outside the open-database list, sharing that lets
// the loaders open the file too), a data source with a small navigator, and a
// grid whose edits go straight into the file.
#pragma once

#include <cstdint>
#include <string>

namespace finance {

// Registers the grid, data source and database provider kinds (after the
// window layer has registered its built-in kinds).
void RegisterDataComponentKinds();

// The provider's file-name property (GBK path).
void SetProviderFileName(uint32_t window, uint32_t provider, const std::string& gbkPath);
// The data source reloads from its provider: the provider (re)opens its file
// and every grid of the window shows its records.
void ReloadDataSource(uint32_t window, uint32_t dataSource);
// Commits pending grid edits and closes every provider of the window.
void ShutDownDataComponents(uint32_t window);

}  // namespace finance
