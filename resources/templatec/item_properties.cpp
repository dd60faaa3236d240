// The properties of windows and controls: common ones, type data and lists.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "compile_error.h"
#include "control_kinds.h"
#include "forms/event_numbers.h"
#include "forms/template_format.h"
#include "runtime/base/calendar.h"
#include "segment_bytes.h"
#include "template_compiler.h"

namespace tavrin::templatec {

namespace tf = tavrin::forms;

void Compiler::setFont(Item& item, const Node& p) {
    if (p.args.size() < 2) Die(p.where, "font = \"face\" size [bold] [italic] ...");
    std::string rec(tf::kFontRecordSize, '\0');
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&rec[at], &v, 4); };
    double size = double(ParseInt(p.args[1], p.where));
    put32(0, -int32_t(std::lround(size * 96.0 / 72.0)));
    int32_t weight = 400;
    for (size_t k = 2; k < p.args.size(); ++k) {
        const std::string& f = p.args[k];
        if (f == "bold")
            weight = 700;
        else if (f == "italic")
            rec[20] = 1;
        else if (f == "underline")
            rec[21] = 1;
        else if (f == "strike")
            rec[22] = 1;
        else
            Die(p.where, "unknown font flag " + f);
    }
    auto angle = p.attrs.find("angle");
    if (angle != p.attrs.end()) {
        put32(8, int32_t(ParseInt(angle->second, p.where)));
        put32(12, int32_t(ParseInt(angle->second, p.where)));
    }
    put32(16, weight);
    rec[23] = char(134);  // Chinese character set
    std::string face = ToGbk(p.args[0], p.where);
    if (face.size() > 31) Die(p.where, "font face longer than 31 bytes");
    std::memcpy(&rec[28], face.data(), face.size());
    item.typeData[tf::Tag::kFont] = rec;
}

// A type-data property or a list entry of the item; false when not one.
bool Compiler::typeProperty(Item& item, const Node& p, Lists& lists) {
    auto listAdd = [&](uint32_t tag, const std::string& entry) {
        auto& l = lists[tag];
        ++l.first;
        l.second += entry;
    };
    const std::string& k = p.head;
    auto arg = [&](size_t n) -> const std::string& {
        if (p.args.size() <= n) Die(p.where, "'" + k + "' needs more values");
        return p.args[n];
    };
    if (k == "caption") {
        item.typeData[tf::Tag::kCaption] = ToGbk(p.args.empty() ? "" : p.args[0], p.where);
    } else if (k == "text") {
        item.typeData[tf::Tag::kText] = ToGbk(p.args.empty() ? "" : p.args[0], p.where);
    } else if (k == "title") {
        item.typeData[tf::Tag::kTitle] = ToGbk(p.args.empty() ? "" : p.args[0], p.where);
    } else if (IntKeys().count(k)) {
        std::string v;
        PutU32(v, uint32_t(ParseInt(arg(0), p.where)));
        item.typeData[IntKeys().at(k)] = v;
    } else if (k == "font") {
        setFont(item, p);
    } else if (k == "picture") {
        std::string file = dir_ + arg(0);
        dependencies.insert(file);
        item.typeData[tf::Tag::kPicture] = ReadFile(file, p.where);
    } else if (k == "images") {
        std::string file = dir_ + arg(0);
        dependencies.insert(file);
        std::string v;
        PutU32(v, uint32_t(ParseInt(arg(1), p.where)));
        PutU32(v, uint32_t(ParseInt(arg(2), p.where)));
        item.typeData[tf::Tag::kImageList] = v + ReadFile(file, p.where);
    } else if (k == "date") {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        if (std::sscanf(arg(0).c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) < 3)
            Die(p.where, "date = \"YYYY-MM-DD [hh:mm[:ss]]\"");
        if (p.args.size() > 1) std::sscanf(p.args[1].c_str(), "%d:%d:%d", &h, &mi, &s);
        const double days = kernel::ComposeDateTime({y, mo, d, h, mi, s});
        std::string v(8, '\0');
        std::memcpy(v.data(), &days, 8);
        item.typeData[tf::Tag::kDateTime] = v;
    } else if (k == "item") {
        std::string e;
        PutString(e, ToGbk(arg(0), p.where));
        PutU32(e, uint32_t(p.args.size() > 1 ? ParseInt(p.args[1], p.where) : 0));
        listAdd(tf::Tag::kItems, e);
    } else if (k == "column") {
        std::string e;
        PutString(e, ToGbk(arg(0), p.where));
        PutU32(e, uint32_t(ParseInt(arg(1), p.where)));
        int32_t align = 0;
        if (p.args.size() > 2) {
            const std::string& a = p.args[2];
            align = a == "left"     ? 0
                    : a == "center" ? 1
                    : a == "right"  ? 2
                                    : int32_t(ParseInt(a, p.where));
        }
        PutU32(e, uint32_t(align));
        listAdd(tf::Tag::kColumns, e);
    } else if (k == "pane") {
        std::string e;
        PutString(e, ToGbk(arg(0), p.where));
        PutU32(e, uint32_t(ParseInt(arg(1), p.where)));
        listAdd(tf::Tag::kPanes, e);
    } else if (k == "button" || k == "separator") {
        std::string e;
        uint32_t style = 0;
        size_t at = 0;
        if (k == "separator") {
            PutU32(e, uint32_t(-1));
            PutString(e, "");
            PutString(e, "");
            style = tf::kButtonSeparator;
        } else {
            PutU32(e, uint32_t(ParseInt(arg(0), p.where)));
            PutString(e, ToGbk(arg(1), p.where));
            at = 2;
            std::string tip;
            if (p.args.size() > 2 && p.args[2] != "disabled" && p.args[2] != "dropdown" &&
                p.args[2] != "check") {
                tip = p.args[2];
                at = 3;
            }
            PutString(e, ToGbk(tip, p.where));
            for (; at < p.args.size(); ++at) {
                const std::string& f = p.args[at];
                if (f == "disabled")
                    style |= tf::kButtonDisabled;
                else if (f == "dropdown")
                    style |= tf::kButtonDropDown;
                else if (f == "check")
                    style |= tf::kButtonCheck;
                else
                    Die(p.where, "unknown button flag " + f);
            }
        }
        PutU32(e, style);
        listAdd(tf::Tag::kButtons, e);
    } else if (k == "set") {
        std::string e;
        PutString(e, ToGbk(arg(0), p.where));
        PutString(e, ToGbk(p.args.size() > 1 ? p.args[1] : "", p.where));
        listAdd(tf::Tag::kSettings, e);
    } else {
        return false;
    }
    return true;
}

// A common property of windows and controls; false when not one.
bool Compiler::commonProperty(Item& item, const Node& p) {
    const std::string& k = p.head;
    auto arg = [&](size_t n) -> const std::string& {
        if (p.args.size() <= n) Die(p.where, "'" + k + "' needs more values");
        return p.args[n];
    };
    if (k == "id" || k == "symbol") {
        // handled with the header
    } else if (k == "rect") {
        for (int n = 0; n < 4; ++n) item.rect[n] = int32_t(ParseInt(arg(n), p.where));
    } else if (k == "visible") {
        item.flags = ParseInt(arg(0), p.where) ? item.flags | tf::kStateVisible
                                               : item.flags & ~tf::kStateVisible;
    } else if (k == "disabled") {
        item.flags = ParseInt(arg(0), p.where) ? item.flags | tf::kStateDisabled
                                               : item.flags & ~tf::kStateDisabled;
    } else if (k == "mark") {
        item.mark = ToGbk(arg(0), p.where);
    } else if (k == "cursor") {
        item.cursor.clear();
        PutU32(item.cursor, uint32_t(ParseInt(arg(0), p.where)));
    } else if (k == "taborder") {
        item.tabOrder = uint32_t(ParseInt(arg(0), p.where));
    } else if (k == "origin") {
        item.origin = uint32_t(ParseInt(arg(0), p.where));
    } else if (k == "on") {
        // A binding to an event the kind never raises would silently never run.
        const int32_t event = int32_t(ParseInt(arg(0), p.where));
        if (!tf::KindRaises(item.typeId, event))
            Die(p.where, "this kind raises no event " + std::to_string(event));
        item.bindings.emplace_back(event, handlerOffset(arg(1)));
    } else {
        return false;
    }
    return true;
}

void Compiler::finishTypeData(Item& item, Lists& lists) {
    for (auto& [tag, l] : lists) {
        std::string v;
        PutU32(v, l.first);
        item.typeData[tag] = v + l.second;
    }
}

}  // namespace tavrin::templatec
