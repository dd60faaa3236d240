// A date written in a window template is stored as the date-time the calendar
// reads back as that same date and time, on both sides of 1899-12-30.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "runtime/base/calendar.h"

using namespace tavrin::kernel;

namespace {

// The template segment bytes of a generated source.
std::string SegmentBytes(const std::string& generatedCpp) {
    std::ifstream in(generatedCpp);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const size_t open = all.find('{', all.find("kTemplateSegment[]"));
    const std::string array = all.substr(open, all.find('}', open) - open);
    std::string bytes;
    const std::regex number("\\d+");
    for (std::sregex_iterator it(array.begin(), array.end(), number), end; it != end; ++it)
        bytes += char(std::stoi(it->str()));
    return bytes;
}

bool HoldsDouble(const std::string& bytes, double v) {
    char raw[8];
    std::memcpy(raw, &v, 8);
    return bytes.find(std::string(raw, 8)) != std::string::npos;
}

}  // namespace

TEST(TemplateDate, CompiledDatesReadBackAsWritten) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("template_date_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "w.tpl") << "window {\n    id = 0x52010001\n"
                                 << "    date a { date = \"1899-12-29 06:00\" }\n"
                                 << "    date b { date = \"2012-05-01 08:30:15\" }\n}\n";
    const std::string base = (dir / "out").string();
    const std::string command = std::string(TAVRIN_TEMPLATEC) + " " + base + " t " + base + ".d " +
                                (dir / "w.tpl").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string bytes = SegmentBytes(base + ".cpp");
    std::filesystem::remove_all(dir);

    const double early = ComposeDateTime({1899, 12, 29, 6, 0, 0});
    const double later = ComposeDateTime({2012, 5, 1, 8, 30, 15});
    EXPECT_TRUE(HoldsDouble(bytes, early));
    EXPECT_TRUE(HoldsDouble(bytes, later));
    const CalendarParts e = SplitDateTime(early);
    EXPECT_TRUE(e.year == 1899 && e.month == 12 && e.day == 29 && e.hour == 6 && e.minute == 0);
    const CalendarParts l = SplitDateTime(later);
    EXPECT_TRUE(l.year == 2012 && l.month == 5 && l.day == 1 && l.hour == 8 && l.second == 15);
}
