// Registers the kinds this layer builds itself (every kind of the catalogue;
// the charts get a placeholder until their layer registers them).
#pragma once

namespace tavrin::forms {

void RegisterBuiltinKinds();

}  // namespace tavrin::forms
