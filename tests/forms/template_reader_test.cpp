// The template segment reader: exact consumption, page lists, and that no
// truncated or corrupted segment is accepted half-read or crashes the reader.
#include "forms/template_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/event_numbers.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "runtime/shell/application.h"
#include "test_support.h"

using namespace tavrin::forms;

namespace {

std::vector<uint8_t> Segment() {
    return std::vector<uint8_t>(formtest::kTemplateSegment,
                                formtest::kTemplateSegment + formtest::kTemplateSegmentSize);
}

uint32_t U32At(const std::vector<uint8_t>& s, size_t at) {
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

TEST(TemplateReader, ReadsEveryWindowAndItemOfTheCompiledSegment) {
    std::vector<WindowTemplate> table;
    std::string why;
    ASSERT_TRUE(ReadTemplateSegment(formtest::kTemplateSegment, formtest::kTemplateSegmentSize,
                                    table, &why))
        << why;
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].windowId, formtest::ids::TestWindow);
    EXPECT_EQ(table[1].windowId, formtest::ids::ModalWindow);
    const WindowTemplate& w = table[0];
    EXPECT_EQ(w.items[0].typeId, TypeId::kWindow);
    EXPECT_EQ(w.items[0].left, 40);
    EXPECT_EQ(w.items[0].width, 900);

    const ItemTemplate* combo = w.find(formtest::ids::IncomeCombo);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->typeId, TypeId::kComboBox);
    EXPECT_EQ(combo->parentId, formtest::ids::Group1);
    EXPECT_EQ(combo->flags, kStateVisible | kStateInteractive);
    ASSERT_EQ(combo->typeData.items().size(), 2u);
    EXPECT_EQ(combo->typeData.items()[1].data, 12);
    EXPECT_TRUE(combo->handlerFor(ComboEvent::kTextEdited).has_value());
    EXPECT_FALSE(combo->handlerFor(ComboEvent::kDoubleClicked).has_value());

    const ItemTemplate* list = w.find(formtest::ids::IncomeList);
    ASSERT_EQ(list->typeData.columns().size(), 5u);
    EXPECT_EQ(list->typeData.columns()[1].width, 100);
    EXPECT_EQ(list->typeData.columns()[1].align, 2);

    // Invisible components carry no state bits.
    EXPECT_EQ(w.find(formtest::ids::Timer1)->flags, 0u);
    EXPECT_EQ(w.find(formtest::ids::Label11)->flags, kStateVisible);

    // Menu items: one run, command numbers 20000 + position.
    const ItemTemplate* open = w.find(formtest::ids::MenuOpen);
    ASSERT_TRUE(open && open->isMenu);
    EXPECT_EQ(open->menuLevel, 1);
    EXPECT_EQ(open->menuCommand, kMenuCommandBase + 1);
    EXPECT_EQ(w.find(formtest::ids::MenuNoHandler)->menuHandler, kNoHandler);
    EXPECT_EQ(w.find(formtest::ids::MenuDisabled)->menuFlags, kMenuDisabled);
    EXPECT_EQ(w.find(formtest::ids::PopupIncome)->menuFlags, kMenuHidden);
}

TEST(TemplateReader, PageControlTrailingZerosStandForEmptyPages) {
    std::vector<WindowTemplate> table;
    ASSERT_TRUE(
        ReadTemplateSegment(formtest::kTemplateSegment, formtest::kTemplateSegmentSize, table));
    const ItemTemplate* pages = table[0].find(formtest::ids::Pages);
    ASSERT_NE(pages, nullptr);
    // Pages 2 and 3 hold nothing: the list ends with two 0 words.
    ASSERT_GE(pages->children.size(), 2u);
    EXPECT_EQ(pages->children[pages->children.size() - 1], 0u);
    EXPECT_EQ(pages->children[pages->children.size() - 2], 0u);
    auto split = WindowTemplate::SplitPages(pages->children);
    ASSERT_EQ(split.size(), 4u);
    EXPECT_EQ(split[0].size(), 3u);  // group, list view, printer
    EXPECT_EQ(split[1].size(), 4u);
    EXPECT_TRUE(split[2].empty());
    EXPECT_TRUE(split[3].empty());
    EXPECT_EQ(WindowTemplate::SplitPages({5, 0}).size(), 2u);
    EXPECT_EQ(WindowTemplate::SplitPages({5, 0, 0}).size(), 3u);
}

TEST(TemplateReader, ConsumesExactlyTheStatedSize) {
    std::vector<uint8_t> s = Segment();
    std::vector<WindowTemplate> table;
    s.push_back(0);
    EXPECT_FALSE(ReadTemplateSegment(s.data(), s.size(), table));
    EXPECT_TRUE(table.empty());
    s.pop_back();
    EXPECT_TRUE(ReadTemplateSegment(s.data(), s.size(), table));
    // An empty table is a valid segment of 4 bytes.
    const uint8_t empty[4] = {0, 0, 0, 0};
    EXPECT_TRUE(ReadTemplateSegment(empty, 4, table));
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(ReadTemplateSegment(empty, 0, table));
}

TEST(TemplateReader, EveryTruncationIsRejected) {
    const std::vector<uint8_t> full = Segment();
    std::vector<WindowTemplate> table;
    for (size_t n = 0; n < full.size(); ++n) {
        // A fresh copy of exactly n bytes, so that reading past it would be noticed by tools.
        std::vector<uint8_t> part(full.begin(), full.begin() + long(n));
        ASSERT_FALSE(ReadTemplateSegment(part.data(), part.size(), table)) << "length " << n;
        ASSERT_TRUE(table.empty());
    }
}

TEST(TemplateReader, CorruptedLengthsAndCountsNeverCrashTheReader) {
    const std::vector<uint8_t> full = Segment();
    std::vector<WindowTemplate> table;
    size_t rejected = 0, tried = 0;
    const uint32_t values[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u, 1u};
    for (size_t at = 0; at + 4 <= full.size(); at += 1) {
        for (uint32_t v : values) {
            std::vector<uint8_t> bad = full;
            std::memcpy(bad.data() + at, &v, 4);
            ++tried;
            if (!ReadTemplateSegment(bad.data(), bad.size(), table)) ++rejected;
        }
    }
    // Many words are free values (positions, flags); structural words must be caught.
    EXPECT_GT(rejected, tried / 4);
    // The id table size, the first window's item count and data size are structural.
    for (size_t at : {size_t(0)}) {
        std::vector<uint8_t> bad = full;
        uint32_t v = U32At(bad, at) + 8;
        std::memcpy(bad.data() + at, &v, 4);
        EXPECT_FALSE(ReadTemplateSegment(bad.data(), bad.size(), table));
    }
}

TEST(TemplateReader, RejectsDuplicateIdsAndParentsThatDoNotExist) {
    // Builds a tiny one-window segment by hand: window record + one label.
    auto put = [](std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); };
    auto control = [&](uint32_t type, uint32_t parent) {
        std::string r;
        put(r, type);
        for (int i = 0; i < 5; ++i) put(r, 0);  // origin, 4 runtime words
        r += std::string("\0\0", 2);            // name, second name
        put(r, 0);
        for (int i = 0; i < 4; ++i) put(r, 10);
        put(r, 0);
        put(r, parent);
        put(r, 0);  // children
        put(r, 4);
        put(r, 0);  // cursor
        r += '\0';  // mark
        put(r, 0);
        put(r, 1);
        put(r, 0);
        put(r, 0);  // bindings
        for (int i = 0; i < 5; ++i) put(r, 0);
        return r;
    };
    auto segment = [&](uint32_t secondId, uint32_t parent) {
        std::vector<std::string> recs = {control(TypeId::kWindow, 0),
                                         control(TypeId::kLabel, parent)};
        std::string keys, offsets, data;
        uint32_t ids[2] = {0x06010001, secondId};
        for (int i = 0; i < 2; ++i) {
            put(keys, ids[i]);
            put(offsets, uint32_t(data.size()));
            put(data, uint32_t(recs[size_t(i)].size()));
            data += recs[size_t(i)];
        }
        std::string s;
        put(s, 8);
        put(s, 0x52010001);
        put(s, 0);
        put(s, 0);
        put(s, 0);
        put(s, 0);
        put(s, 0);
        put(s, 2);
        put(s, uint32_t(keys.size() + offsets.size() + data.size()));
        s += keys + offsets + data;
        return s;
    };
    auto reads = [](const std::string& s) {
        std::vector<WindowTemplate> table;
        return ReadTemplateSegment(reinterpret_cast<const uint8_t*>(s.data()), s.size(), table);
    };
    EXPECT_TRUE(reads(segment(0x16010001, 0)));
    EXPECT_FALSE(reads(segment(0x06010001, 0)));           // an id used twice
    EXPECT_FALSE(reads(segment(0x16010001, 0x16019999)));  // a parent that is not there
    EXPECT_FALSE(reads(segment(0x16010001, 0x16010001)));  // its own parent
}

TEST(TemplateReaderDeathTest, MalformedSegmentAtStartGivesTheFatalReport) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            formtest::SetUpWindowLayer();
            std::vector<uint8_t> bad = Segment();
            bad.erase(bad.end() - 3, bad.end());  // cut inside the last record
            tavrin::ApplicationImage image;
            image.templateSegment = bad.data();
            image.templateSize = bad.size();
            tavrin::InitializeForTests(0, nullptr, image);
            std::exit(0);
        },
        testing::ExitedWithCode(255),
        "MESSAGE BOX \\[错误\\] 运行时出错!.*载入窗口模板数据段出错!");
}

}  // namespace
