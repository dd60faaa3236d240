// Reader of the stored table layout format (see table_template.h).
#include "table/table_template.h"

#include <charconv>
#include <optional>
#include <vector>

namespace tavrin::table {

namespace {

constexpr int32_t kMaxRows = 10'000'000;
constexpr int32_t kMaxColumns = 10'000;
constexpr int32_t kMaxSize = 1'000'000;

// Words of a line after the keyword; the last may take the rest of the line.
struct Line {
    std::string_view rest;

    std::optional<int32_t> number(int32_t low, int32_t high) {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        int32_t v = 0;
        auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), v);
        if (ec != std::errc() || v < low || v > high) return std::nullopt;
        rest.remove_prefix(size_t(end - rest.data()));
        if (!rest.empty() && rest.front() != ' ') return std::nullopt;
        return v;
    }
    std::string_view tail() {
        if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        return rest;
    }
    bool done() const { return rest.find_first_not_of(' ') == std::string_view::npos; }
};

}  // namespace

bool LoadTableLayout(std::string_view bytes, CellModel& model) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    if (lines.size() < 2 || lines[0] != "TVTABLE 1") return false;

    CellModel built;
    bool sized = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view l = lines[i];
        if (l.empty()) continue;
        const size_t blank = l.find(' ');
        const std::string_view key = l.substr(0, blank);
        Line a{blank == std::string_view::npos ? std::string_view() : l.substr(blank)};
        const int32_t rows = built.rowCount(), columns = built.columnCount();
        if (key == "table") {
            auto r = a.number(0, kMaxRows), c = a.number(0, kMaxColumns);
            if (sized || !r || !c || !a.done()) return false;
            built.reset(*r, *c);
            sized = true;
            continue;
        }
        if (key == "font") {
            auto size = a.number(1, kMaxSize);
            const std::string_view name = a.tail();
            if (!size || name.empty() || name.size() > 31) return false;
            built.setDefaultFont(name, *size);
            continue;
        }
        if (!sized) return false;
        if (key == "height" || key == "width") {
            auto v = a.number(0, kMaxSize);
            if (!v || !a.done()) return false;
            const bool height = key == "height";
            built.setDefaultSizes(height ? *v : built.defaultRowHeight(),
                                  height ? built.defaultColumnWidth() : *v);
            if (height)
                for (int32_t r = 0; r < rows; ++r) built.setRowHeight(r, *v);
            else
                for (int32_t c = 0; c < columns; ++c) built.setColumnWidth(c, *v);
        } else if (key == "row") {
            auto r = a.number(1, rows), v = a.number(0, kMaxSize);
            if (!r || !v || !a.done()) return false;
            built.setRowHeight(*r - 1, *v);
        } else if (key == "column") {
            auto c = a.number(1, columns), v = a.number(0, kMaxSize);
            if (!c || !v || !a.done()) return false;
            built.setColumnWidth(*c - 1, *v);
        } else if (key == "text") {
            auto r = a.number(1, rows), c = a.number(1, columns);
            if (!r || !c) return false;
            built.setText(*r - 1, *c - 1, a.tail());
        } else if (key == "merge") {
            auto r = a.number(1, rows), c = a.number(1, columns);
            auto nr = a.number(1, kMaxRows), nc = a.number(1, kMaxColumns);
            if (!r || !c || !nr || !nc || !a.done()) return false;
            built.merge(CellRange{*r - 1, *c - 1, *nr, *nc});
        } else if (key == "fixed") {
            auto n = a.number(0, rows);
            if (!n || !a.done()) return false;
            built.setFixedRows(*n);
        } else {
            return false;
        }
    }
    if (!sized) return false;
    model = std::move(built);
    return true;
}

}  // namespace tavrin::table
