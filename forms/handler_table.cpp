// Binding the templates' handler names to the application's routines.
#include "internal/handler_table.h"

#include <cstdio>
#include <cstdlib>

namespace tavrin::forms {

void HandlerTable::setNames(const char* const* names, size_t count) {
    names_.clear();
    for (size_t i = 0; i < count; ++i) names_.emplace_back(names && names[i] ? names[i] : "");
    bound_.assign(count, nullptr);
}

void HandlerTable::bind(const HandlerEntry* handlers, size_t count) {
    bound_.assign(names_.size(), nullptr);
    for (size_t offset = 0; offset < names_.size(); ++offset) {
        const std::string& name = names_[offset];
        for (size_t i = 0; i < count; ++i) {
            if (handlers[i].name && name == handlers[i].name) {
                bound_[offset] = handlers[i].handler;
                break;
            }
        }
        if (!bound_[offset])
            std::fprintf(stderr, "tavrin: no routine named %s for the window templates\n",
                         name.c_str());
    }
    if (requireEvery_ && !unboundNames().empty()) {
        for (const std::string& name : unboundNames())
            std::fprintf(stderr, "tavrin: the window templates name %s, which no layer supplies\n",
                         name.c_str());
        std::fprintf(stderr,
                     "tavrin: stopping: every handler a template names needs its routine\n");
        std::abort();
    }
}

std::vector<std::string> HandlerTable::unboundNames() const {
    std::vector<std::string> names;
    for (size_t offset = 0; offset < names_.size(); ++offset)
        if (!bound_[offset]) names.push_back(names_[offset]);
    return names;
}

EventHandler HandlerTable::at(int32_t offset) const {
    if (offset < 0 || size_t(offset) >= bound_.size()) return nullptr;
    return bound_[size_t(offset)];
}

}  // namespace tavrin::forms
