// Test support for the window layer.
#include "test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <map>

#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"

namespace formtest {

namespace {

std::map<std::string, std::function<void(tavrin::EventCall&)>>& Behaviours() {
    static auto* b = new std::map<std::string, std::function<void(tavrin::EventCall&)>>;
    return *b;
}

// The handler name of a call, found the way the dispatch found the routine.
std::string NameOf(const tavrin::EventCall& call) {
    tavrin::forms::WindowTemplate* t = tavrin::forms::FindTemplate(call.windowId);
    if (!t) return {};
    const tavrin::forms::ItemTemplate* item =
        call.itemId == 0 || call.itemId == call.windowId ? &t->items[0] : t->find(call.itemId);
    if (!item) return {};
    // A copied item is bound through the item it was copied from.
    while (item->originId != 0) {
        const tavrin::forms::ItemTemplate* origin = t->find(item->originId);
        if (!origin || origin->typeId != item->typeId || origin == item) break;
        item = origin;
    }
    int32_t offset = -1;
    if (item->isMenu)
        offset = item->menuHandler;
    else if (auto h = item->handlerFor(call.eventNumber))
        offset = *h;
    if (offset < 0 || size_t(offset) >= kHandlerNameCount) return {};
    return kHandlerNames[offset];
}

void Recorder(tavrin::EventCall& call) {
    Recorded r;
    r.handler = NameOf(call);
    r.windowId = call.windowId;
    r.itemId = call.itemId;
    r.eventNumber = call.eventNumber;
    for (int32_t i = 0; i < call.argCount; ++i) r.args.push_back(int32_t(call.args[i].lo));
    r.source = tavrin::CurrentEventSource();
    Log().push_back(r);
    auto it = Behaviours().find(r.handler);
    if (it != Behaviours().end() && it->second) it->second(call);
}

}  // namespace

void SetUpWindowLayer() {
    static bool done = false;
    if (done) return;
    done = true;
    static std::vector<tavrin::HandlerEntry> table;
    for (size_t i = 0; i < kHandlerNameCount; ++i)
        if (std::string(kHandlerNames[i]) != "MenuAbout")
            table.push_back(tavrin::HandlerEntry{kHandlerNames[i], &Recorder});
    tavrin::forms::InstallWindowSystem(kHandlerNames, kHandlerNameCount);
    tavrin::ApplicationImage image;
    image.templateSegment = kTemplateSegment;
    image.templateSize = kTemplateSegmentSize;
    image.handlers = table.data();
    image.handlerCount = table.size();
    static char arg0[] = "forms_test";
    static char* argv[] = {arg0, nullptr};
    tavrin::InitializeForTests(1, argv, image);
    // A fatal report in a test prints its text instead of waiting for a click.
    tavrin::SetMessageBoxResponder([](const tavrin::MessageBoxRequest& r) {
        std::fprintf(stderr, "MESSAGE BOX [%s] %s\n", tavrin::GbkToUtf8(r.caption).c_str(),
                     tavrin::GbkToUtf8(r.text).c_str());
        return int32_t(tavrin::kButtonOk);
    });
}

void ResetWindows() {
    for (uint32_t id : {ids::TestWindow, ids::ModalWindow}) tavrin::forms::CloseWindow(id, true);
    SettleEvents();
    // Fresh template values for every test (writes to closed windows persist in them).
    tavrin::forms::LoadTemplateSegment(kTemplateSegment, kTemplateSegmentSize);
    Log().clear();
    Behaviours().clear();
}

std::vector<Recorded>& Log() {
    static auto* log = new std::vector<Recorded>;
    return *log;
}

int Calls(const std::string& handler) {
    int n = 0;
    for (const Recorded& r : Log()) n += r.handler == handler;
    return n;
}

const Recorded* Last(const std::string& handler) {
    for (auto it = Log().rbegin(); it != Log().rend(); ++it)
        if (it->handler == handler) return &*it;
    return nullptr;
}

void SetBehaviour(const std::string& handler, std::function<void(tavrin::EventCall&)> behaviour) {
    Behaviours()[handler] = std::move(behaviour);
}

QWidget* WidgetOf(uint32_t windowId, uint32_t controlId) {
    tavrin::forms::Control* c = tavrin::forms::FindControl(windowId, controlId);
    return c ? c->widget() : nullptr;
}

int32_t ReadInt(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex) {
    return int32_t(tavrin::ReadProperty(windowId, itemId, index, arrayIndex));
}

void WriteInt(uint32_t windowId, uint32_t itemId, int32_t index, int32_t value,
              int32_t arrayIndex) {
    tavrin::WriteProperty(windowId, itemId, index, arrayIndex, uint32_t(value), 0);
}

std::string ReadTextUtf8(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex) {
    uint64_t p = tavrin::ReadProperty(windowId, itemId, index, arrayIndex);
    char* text = reinterpret_cast<char*>(uintptr_t(p));
    std::string out = text ? tavrin::GbkToUtf8(text) : std::string();
    tavrin::Free(text);
    return out;
}

void WriteTextUtf8(uint32_t windowId, uint32_t itemId, int32_t index, const std::string& utf8,
                   int32_t arrayIndex) {
    std::string gbk = tavrin::Utf8ToGbk(utf8);
    tavrin::Value v;
    v.setPointer(gbk.c_str());
    tavrin::WriteProperty(windowId, itemId, index, arrayIndex, v.lo, v.hi);
}

}  // namespace formtest
