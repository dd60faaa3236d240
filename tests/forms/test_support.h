// Test support for the window layer: installs it with the compiled test
// segment, records every event that reaches a handler (by handler name) and
// lets a test give a handler its behaviour.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/window_system.h"
#include "formtest_templates.h"
#include "runtime/process.h"
#include "settle_events.h"

namespace formtest {

struct Recorded {
    std::string handler;
    uint32_t windowId = 0;
    uint32_t itemId = 0;
    int32_t eventNumber = 0;
    std::vector<int32_t> args;
    tavrin::EventSource source;  // as seen inside the handler
};

// Runtime, window layer and handler table, once per process. Every handler
// name of the segment is bound except "MenuAbout" (left unbound on purpose).
void SetUpWindowLayer();
// Closes every window, reloads the templates, forgets the log and the behaviours.
void ResetWindows();

// The fixture of the tests on the test window: the window loaded afresh for
// every test, and every window closed after it.
class TestWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpWindowLayer();
        ResetWindows();
        ASSERT_TRUE(tavrin::forms::LoadWindow(ids::TestWindow));
        SettleEvents();
    }
    void TearDown() override { ResetWindows(); }
};

std::vector<Recorded>& Log();
int Calls(const std::string& handler);
const Recorded* Last(const std::string& handler);
void SetBehaviour(const std::string& handler, std::function<void(tavrin::EventCall&)> behaviour);

// The widget of a live control (null when not loaded).
QWidget* WidgetOf(uint32_t windowId, uint32_t controlId);
// Processes pending events (posted closes, deferred deletions, batched rows).

// Property access shorthands.
int32_t ReadInt(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex = -1);
void WriteInt(uint32_t windowId, uint32_t itemId, int32_t index, int32_t value,
              int32_t arrayIndex = -1);
std::string ReadTextUtf8(uint32_t windowId, uint32_t itemId, int32_t index,
                         int32_t arrayIndex = -1);
void WriteTextUtf8(uint32_t windowId, uint32_t itemId, int32_t index, const std::string& utf8,
                   int32_t arrayIndex = -1);

}  // namespace formtest
