// External library functions declared by the program, resolved with dlopen/dlsym.
//
// Platform library names are mapped as follows: an empty library name searches
// the process's own symbols and then the C library (the stand-ins for the
// platform's kernel, graphics, user-interface, security, network and shell
// libraries, which do not exist here); a named library is first looked for in
// the program directory under its own name, then by its plain name through the
// dynamic loader, then as lib<name>.so with a ".dll" ending removed.
#include <dlfcn.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "rt_text_constants.h"
#include "runtime/commands.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"
#include "runtime/process.h"

namespace tavrin {
namespace {

struct DllSlot {
    DllCommandDeclaration declaration;
    void* address = nullptr;
};

std::mutex g_mutex;
std::vector<DllSlot> g_slots;
std::vector<void*> g_handles;  // released at program end with the process

void* OpenLibrary(const std::string& gbkName) {
    std::string name = NativePath(gbkName);
    if (name.find(':') == std::string::npos && name.find('/') != 0) {
        std::string local = NativePath(ProgramDirectoryGbk()) + "/" + name;
        if (void* h = dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
    }
    if (void* h = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
    std::string base = name;
    if (base.size() > 4 && (base.compare(base.size() - 4, 4, ".dll") == 0 ||
                            base.compare(base.size() - 4, 4, ".DLL") == 0))
        base.resize(base.size() - 4);
    std::string lib = "lib" + base + ".so";
    return dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// An export: "#n" is ordinal n, which this platform's loader does not keep.
void* FindExport(void* handle, const char* exportName) {
    if (exportName == nullptr || exportName[0] == 0 || exportName[0] == '#') return nullptr;
    return dlsym(handle, exportName);
}

void* Resolve(const DllCommandDeclaration& d) {
    const std::string library = d.library ? d.library : "";
    if (library.empty()) {
        if (void* self = dlopen(nullptr, RTLD_NOW))
            if (void* f = FindExport(self, d.exportName)) return f;
        if (void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD))
            if (void* f = FindExport(libc, d.exportName)) return f;
        return nullptr;
    }
    void* h = OpenLibrary(library);
    if (h == nullptr) return nullptr;
    void* f = FindExport(h, d.exportName);
    if (f == nullptr) {
        dlclose(h);
        return nullptr;
    }
    g_handles.push_back(h);
    return f;
}

[[noreturn]] void ReportMissing(const DllCommandDeclaration& d) {
    char text[1024];
    const char* exportName = d.exportName ? d.exportName : "";
    if (d.library && d.library[0])
        std::snprintf(text, sizeof text, rt_text::DllExportMissing, d.library, exportName);
    else
        std::snprintf(text, sizeof text, rt_text::DllExportMissingNoLib, exportName);
    ReportFatalError(text);
}

}  // namespace

void DeclareDllCommands(const DllCommandDeclaration* table, int32_t count) {
    std::lock_guard lock(g_mutex);
    g_slots.clear();
    for (int32_t i = 0; i < count; ++i) g_slots.push_back(DllSlot{table[i], nullptr});
}

void* CallDllCommand(int32_t index) {
    DllCommandDeclaration declaration{};
    {
        std::lock_guard lock(g_mutex);
        if (index < 0 || size_t(index) >= g_slots.size()) {
            declaration = DllCommandDeclaration{"", ""};
        } else {
            DllSlot& slot = g_slots[size_t(index)];
            if (slot.address == nullptr) slot.address = Resolve(slot.declaration);
            if (slot.address != nullptr) return slot.address;
            declaration = slot.declaration;
        }
    }
    ReportMissing(declaration);
}

}  // namespace tavrin
