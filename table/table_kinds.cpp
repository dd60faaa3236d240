// Registration of the grid, data source and provider kinds.
#include "table/table_kinds.h"

#include "forms/template_format.h"
#include "grid.h"
#include "table/data_source.h"
#include "table/providers.h"

namespace tavrin::table {

namespace {
template <typename T>
forms::ControlFactory Make() {
    return [](const forms::ControlInit& init) { return std::make_unique<T>(init); };
}
}  // namespace

void RegisterTableKinds() {
    using namespace forms::TypeId;
    using forms::DataKind::kInt;
    forms::RegisterControlKind(kGrid, {Make<GridControl>(), {{"DataSource", kInt}}});
    forms::RegisterControlKind(kTableDataSource, {Make<DataSourceControl>(), {{"Provider", kInt}}});
    forms::RegisterControlKind(kGeneralProvider, {Make<GeneralProviderControl>(), {}});
    forms::RegisterControlKind(kDatabaseProvider, {Make<DatabaseProviderControl>(),
                                                   {{"FileName", forms::DataKind::kText}}});
}

}  // namespace tavrin::table
