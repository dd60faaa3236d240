// The command-call paths and the property slots.
#include "runtime/commands.h"

#include "rt_text_constants.h"
#include "runtime/errors.h"

namespace tavrin {
namespace {

ReadPropertyFunction g_read = nullptr;
WritePropertyFunction g_write = nullptr;
ReadObjectPropertyFunction g_readObject = nullptr;
WriteObjectPropertyFunction g_writeObject = nullptr;

}  // namespace

Value CallKernelCommand(CommandFunction command, int32_t argc, const Value* argv) {
    Value result{0, 0, 0};
    command(&result, argc, argv);
    return result;
}

Value CallLibraryCommand(int32_t /*library*/, CommandFunction command, int32_t argc,
                         const Value* argv) {
    Value result{0, 0, 0};
    command(&result, argc, argv);
    return result;
}

void SetObjectPropertySlots(ReadObjectPropertyFunction read, WriteObjectPropertyFunction write) {
    g_readObject = read;
    g_writeObject = write;
}

uint64_t ReadObjectProperty(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex) {
    if (!g_readObject) ReportFatalError(rt_text::WindowOrControlMissing);
    return g_readObject(typeId, object, index, arrayIndex);
}

void WriteObjectProperty(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex,
                         uint32_t lo, uint32_t hi) {
    if (!g_writeObject) ReportFatalError(rt_text::WindowOrControlMissing);
    g_writeObject(typeId, object, index, arrayIndex, lo, hi);
}

void SetPropertySlots(ReadPropertyFunction read, WritePropertyFunction write) {
    g_read = read;
    g_write = write;
}

uint64_t ReadProperty(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex) {
    return g_read ? g_read(windowId, itemId, index, arrayIndex) : 0;
}

void WriteProperty(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex,
                   uint32_t lo, uint32_t hi) {
    if (g_write) g_write(windowId, itemId, index, arrayIndex, lo, hi);
}

}  // namespace tavrin
