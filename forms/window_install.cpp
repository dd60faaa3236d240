// Installing the window layer into the runtime: its hooks, property slots,
// service lookups and the template table the runtime hands over at start.
#include <QApplication>
#include <QFont>

#include "fm_text_constants.h"
#include "forms/control_lookup.h"
#include "forms/events.h"
#include "forms/window_system.h"
#include "internal/builtin_kinds.h"
#include "internal/object_properties.h"
#include "internal/property_slots.h"
#include "internal/type_catalogue.h"
#include "internal/window_system_object.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/process.h"

namespace tavrin::forms {

// The GUI font with CJK glyphs for every window, and the faces the templates
// name mapped onto it; done once the application object exists.
void EnsureGuiDefaults() {
    bool& done = TheWindowSystem().guiDefaultsApplied;
    if (done || !qApp) return;
    done = true;
    const QString cjk = DefaultGuiFont().family();
    QFont::insertSubstitution(GbkToQString(fm_text::DefaultFontFace), cjk);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), cjk);
    QApplication::setFont(DefaultGuiFont());
}

namespace {

bool HookReadTemplates(const uint8_t* segment, size_t size) {
    return LoadTemplateSegment(segment, size);
}
bool HookLoadStart(uint32_t windowId) {
    return FindTemplate(windowId) && LoadWindow(windowId, 0, false, true);
}
bool HookAnyWindowAlive() {
    return !TheWindowSystem().windows.live.empty();
}
void HookCloseAll() {
    std::vector<uint32_t> ids;
    for (auto& [id, lw] : TheWindowSystem().windows.live) ids.push_back(id);
    for (uint32_t id : ids) DestroyWindow(id);
}
void HookDestroyTemplates() {
    HookCloseAll();
    TheWindowSystem().windows.templates.clear();
}

}  // namespace

void InstallWindowSystem(const char* const* handlerNames, size_t handlerCount) {
    RegisterBuiltinKinds();
    SetHandlerNames(handlerNames, handlerCount);
    WindowSystemHooks hooks;
    hooks.readTemplates = &HookReadTemplates;
    hooks.bindHandlers = &BindHandlers;
    hooks.loadStartWindow = &HookLoadStart;
    hooks.anyWindowAlive = &HookAnyWindowAlive;
    hooks.closeAllWindows = &HookCloseAll;
    hooks.destroyTemplates = &HookDestroyTemplates;
    tavrin::InstallWindowSystem(hooks);
    SetPropertySlots(&ReadPropertySlot, &WritePropertySlot);
    SetObjectPropertySlots(&ReadObjectPropertySlot, &WriteObjectPropertySlot);
    // The lookups other libraries reach through the runtime's service entry.
    RuntimeService& service = Service();
    service.windowObject = [](uint32_t windowId) -> void* { return FindWindowControl(windowId); };
    service.controlObject = [](uint32_t windowId, uint32_t controlId) -> void* {
        return FindControl(windowId, controlId);
    };
    service.typeDescriptor = [](uint32_t typeId) -> const void* { return FindTypeInfo(typeId); };
    RegisterLibraryNotify(kCoreLibrary, &CoreLibraryNotify);
    EnsureGuiDefaults();
}

bool LoadTemplateSegment(const uint8_t* segment, size_t size) {
    HookCloseAll();
    std::vector<WindowTemplate> table;
    if (!ReadTemplateSegment(segment, size, table)) return false;
    TheWindowSystem().windows.templates.clear();
    for (WindowTemplate& t : table)
        TheWindowSystem().windows.templates.push_back(
            std::make_shared<WindowTemplate>(std::move(t)));
    return true;
}

}  // namespace tavrin::forms
