// What the tests of a layer on a template segment of their own share: the
// runtime started over the segment, and a fixture that loads one of its
// windows offscreen around every test. (For targets that link the window
// layer.)
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "forms/window_system.h"
#include "runtime/message_box.h"
#include "runtime/process.h"
#include "runtime/shell/application.h"
#include "settle_events.h"

namespace window_test {

// The segment of a test program, as its generated templates header gives it.
struct Segment {
    const char* const* handlerNames;
    size_t handlerNameCount;
    const uint8_t* data;
    size_t size;
};

// Installs the window layer with the segment's handler names, runs
// `beforeStart` (kinds of controls to register, say), then starts the runtime
// over the segment with these handlers under the program name `name`.
inline void StartOverSegment(const char* name, const Segment& segment,
                             const tavrin::HandlerEntry* handlers = nullptr,
                             size_t handlerCount = 0,
                             const std::function<void()>& beforeStart = {}) {
    tavrin::forms::InstallWindowSystem(segment.handlerNames, segment.handlerNameCount);
    if (beforeStart) beforeStart();
    tavrin::ApplicationImage image;
    image.templateSegment = segment.data;
    image.templateSize = segment.size;
    image.handlers = handlers;
    image.handlerCount = handlerCount;
    static std::string program;
    program = name;
    static int argc = 1;
    static char* argv[] = {program.data(), nullptr};
    tavrin::InitializeForTests(argc, argv, image);
}

// A test on one window: loaded before the test, and closed after it with the
// dialog and message box answers the test set taken back.
template <uint32_t Window>
class OneWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(tavrin::forms::LoadWindow(Window));
        SettleEvents();
    }
    void TearDown() override {
        tavrin::SetDialogResponder({});
        tavrin::SetMessageBoxResponder({});
        tavrin::forms::CloseWindow(Window, true);
        SettleEvents();
    }
};

}  // namespace window_test
