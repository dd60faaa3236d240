// tavrin-templatec: compiles readable window template sources (one window per
// file, format in README.md) into the binary window template segment, emitted
// as C++ together with the handler name table and the id constants.
//
// Usage: tavrin-templatec OUT_BASE NAMESPACE DEPFILE SOURCE...
#include <iconv.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "forms/template_format.h"

namespace tf = tavrin::forms;

namespace {

[[noreturn]] void Die(const std::string& where, const std::string& what) {
    std::cerr << where << ": error: " << what << "\n";
    std::exit(1);
}

std::string ToGbk(const std::string& utf8, const std::string& where) {
    if (utf8.empty()) return {};
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == (iconv_t)-1) Die(where, "iconv has no GBK");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* o = out.data();
    size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == (size_t)-1) Die(where, "text cannot be written in GBK: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

// ---- lexer ---------------------------------------------------------------

struct Token {
    enum Kind { Word, String, Equals, Open, Close, End } kind;
    std::string text;
    int line;
};

std::vector<Token> Lex(const std::string& src, const std::string& file) {
    std::vector<Token> out;
    int line = 1;
    size_t i = 0;
    auto endStatement = [&] {
        if (!out.empty() && out.back().kind != Token::End) out.push_back({Token::End, "", line});
    };
    while (i < src.size()) {
        char c = src[i];
        if (c == '\n' || c == ';') {
            endStatement();
            if (c == '\n') ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            ++i;
        } else if (c == '#') {
            while (i < src.size() && src[i] != '\n') ++i;
        } else if (c == '{' || c == '}') {
            if (c == '}') endStatement();
            out.push_back({c == '{' ? Token::Open : Token::Close, std::string(1, c), line});
            if (c == '{') out.push_back({Token::End, "", line});
            ++i;
        } else if (c == '=') {
            out.push_back({Token::Equals, "=", line});
            ++i;
        } else if (c == '"') {
            std::string s;
            ++i;
            while (i < src.size() && src[i] != '"') {
                if (src[i] == '\n') Die(file + ":" + std::to_string(line), "unterminated string");
                if (src[i] == '\\' && i + 1 < src.size()) {
                    char e = src[++i];
                    s += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                } else {
                    s += src[i];
                }
                ++i;
            }
            if (i >= src.size()) Die(file + ":" + std::to_string(line), "unterminated string");
            ++i;
            out.push_back({Token::String, s, line});
        } else {
            size_t b = i;
            while (i < src.size() && !std::strchr(" \t\r\n;,{}=\"#", src[i])) ++i;
            out.push_back({Token::Word, src.substr(b, i - b), line});
        }
    }
    endStatement();
    return out;
}

// ---- statement tree ------------------------------------------------------

struct Node {
    std::string head;
    std::vector<std::string> args;  // positional values (strings unquoted)
    std::map<std::string, std::string> attrs;
    std::vector<Node> children;
    bool block = false;
    std::string where;
};

// statement := head ('=' value* | positional* (word '=' value)*) ['{' statement* '}']
std::vector<Node> ParseStatements(const std::vector<Token>& t, size_t& i, const std::string& file,
                                  bool nested) {
    std::vector<Node> out;
    while (i < t.size()) {
        if (t[i].kind == Token::End) {
            ++i;
            continue;
        }
        if (t[i].kind == Token::Close) {
            if (!nested) Die(file + ":" + std::to_string(t[i].line), "unmatched '}'");
            ++i;
            return out;
        }
        Node n;
        n.where = file + ":" + std::to_string(t[i].line);
        if (t[i].kind != Token::Word) Die(n.where, "a statement starts with a word");
        n.head = t[i++].text;
        bool valueList = i < t.size() && t[i].kind == Token::Equals;
        if (valueList) ++i;
        while (i < t.size() && t[i].kind != Token::End && t[i].kind != Token::Open &&
               t[i].kind != Token::Close) {
            if (t[i].kind == Token::Equals) Die(n.where, "misplaced '='");
            if (!valueList && t[i].kind == Token::Word && i + 2 < t.size() &&
                t[i + 1].kind == Token::Equals) {
                n.attrs[t[i].text] = t[i + 2].text;
                i += 3;
                continue;
            }
            n.args.push_back(t[i++].text);
        }
        if (i < t.size() && t[i].kind == Token::Open) {
            ++i;
            n.block = true;
            n.children = ParseStatements(t, i, file, true);
        }
        out.push_back(std::move(n));
    }
    if (nested) Die(file, "missing '}' at end of file");
    return out;
}

// ---- value helpers -------------------------------------------------------

int64_t ParseInt(const std::string& s, const std::string& where) {
    if (s == "true" || s == "yes") return 1;
    if (s == "false" || s == "no") return 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 0);
    if (s.empty() || *end) Die(where, "not a number: " + s);
    return v;
}

void PutU32(std::string& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out += char((v >> (8 * k)) & 0xFF);
}
void PutString(std::string& out, const std::string& s) {
    PutU32(out, uint32_t(s.size()));
    out += s;
}
void PutCString(std::string& out, const std::string& s) {
    out += s;
    out += '\0';
}

std::string ReadFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Die(where, "cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Days since 1899-12-30 for a proleptic Gregorian date.
double OleDays(int y, int m, int d, int hh, int mm, int ss) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long civil = long(era) * 146097 + long(doe) - 719468;  // days since 1970-01-01
    return double(civil + 25569) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

// ---- the compiler ---------------------------------------------------------

struct KindInfo {
    uint32_t typeId;
    uint32_t defaultFlags;
    bool container;
};

const std::map<std::string, KindInfo>& Kinds() {
    using namespace tf::TypeId;
    const uint32_t V = tf::kStateVisible, I = tf::kStateInteractive;
    static const std::map<std::string, KindInfo> kinds = {
        {"edit", {kEdit, V | I, false}},
        {"picture", {kPictureBox, V, true}},
        {"shape", {kShapeBox, V, true}},
        {"group", {kGroupBox, V, true}},
        {"label", {kLabel, V, false}},
        {"button", {kButton, V | I, false}},
        {"checkbox", {kCheckBox, V | I, false}},
        {"radio", {kRadioButton, V | I, false}},
        {"combo", {kComboBox, V | I, false}},
        {"list", {kListBox, V | I, false}},
        {"checklist", {kCheckListBox, V | I, false}},
        {"date", {kDatePicker, V | I, false}},
        {"color", {kColorPicker, V | I, false}},
        {"dialog", {kCommonDialog, 0, false}},
        {"timer", {kTimer, 0, false}},
        {"printer", {kPrinter, 0, false}},
        {"grid", {kGrid, V | I, false}},
        {"datasource", {kTableDataSource, V | I, false}},
        {"provider", {kGeneralProvider, 0, false}},
        {"dbprovider", {kDatabaseProvider, 0, false}},
        {"statusbar", {kStatusBar, V, false}},
        {"toolbar", {kToolBar, V, false}},
        {"listview", {kReportList, V | I, false}},
        {"translabel", {kTransparentLabel, V, false}},
        {"pages", {kPageControl, V, true}},
        {"recordset", {kRecordSet, 0, false}},
        {"piechart", {kPieChart, V | I, false}},
        {"linechart", {kLineChart, V | I, false}},
        {"script", {kScript, 0, false}},
    };
    return kinds;
}

const std::map<std::string, uint32_t>& IntKeys() {
    using namespace tf::Tag;
    static const std::map<std::string, uint32_t> keys = {
        {"color", kTextColor},       {"background", kBackColor},  {"multiline", kMultiLine},
        {"password", kPassword},     {"readonly", kReadOnly},     {"checked", kChecked},
        {"interval", kInterval},     {"align", kAlign},           {"border", kBorder},
        {"style", kStyle},           {"maxlength", kMaxLength},   {"current", kCurrent},
        {"checkboxes", kCheckBoxes}, {"gridlines", kGridLines},   {"startstate", kStartState},
        {"dialog", kDialogKind},     {"scrollbars", kScrollBars}, {"flat", kFlat},
    };
    return keys;
}

struct Item {
    uint32_t id = 0;
    uint32_t typeId = 0;
    std::string name;  // GBK
    int32_t rect[4] = {0, 0, 0, 0};
    uint32_t parent = 0;
    uint32_t origin = 0;  // the item this one was copied from
    std::vector<uint32_t> children;
    std::string cursor = std::string(4, '\0');
    std::string mark;
    uint32_t flags = 0;
    uint32_t tabOrder = 0;
    std::vector<std::pair<int32_t, int32_t>> bindings;
    std::map<uint32_t, std::string> typeData;
    // menu items
    int32_t level = 0;
    uint32_t menuFlags = 0;
    std::string caption;
    int32_t handler = -1;
};

class Compiler {
  public:
    std::vector<std::string> handlerNames;
    std::vector<std::pair<std::string, uint32_t>> symbols;
    std::set<std::string> dependencies;
    std::string segmentWindows;
    std::vector<uint32_t> windowIds;

    void compileFile(const std::string& path) {
        dependencies.insert(path);
        std::string src = ReadFile(path, path);
        std::vector<Token> tokens = Lex(src, path);
        size_t i = 0;
        std::vector<Node> top = ParseStatements(tokens, i, path, false);
        dir_ = path.substr(0, path.find_last_of('/') + 1);
        for (const Node& n : top) {
            if (n.head != "window" || !n.block) Die(n.where, "expected 'window { ... }'");
            compileWindow(n);
        }
    }

  private:
    std::string dir_;
    uint32_t nextControl_ = 1, nextMenu_ = 1;
    std::set<uint32_t> usedControlIds_, usedMenuIds_;

    int32_t handlerOffset(const std::string& name) {
        if (name.empty() || name == "-") return -1;
        for (size_t k = 0; k < handlerNames.size(); ++k)
            if (handlerNames[k] == name) return int32_t(k);
        handlerNames.push_back(name);
        return int32_t(handlerNames.size() - 1);
    }

    void addSymbol(const Node& n, uint32_t id) {
        auto it = n.attrs.find("symbol");
        std::string s = it != n.attrs.end() ? it->second : "";
        for (const Node& c : n.children)
            if (c.head == "symbol" && !c.args.empty()) s = c.args[0];
        if (s.empty()) return;
        for (char ch : s)
            if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_')
                Die(n.where, "symbol must be a C++ identifier: " + s);
        for (auto& [name, v] : symbols)
            if (name == s) Die(n.where, "symbol defined twice: " + s);
        symbols.emplace_back(s, id);
    }

    uint32_t freshControlId() {
        while (usedControlIds_.count(tf::kControlIdBase + nextControl_)) ++nextControl_;
        usedControlIds_.insert(tf::kControlIdBase + nextControl_);
        return tf::kControlIdBase + nextControl_++;
    }
    uint32_t freshMenuId() {
        while (usedMenuIds_.count(tf::kMenuItemIdBase + nextMenu_)) ++nextMenu_;
        usedMenuIds_.insert(tf::kMenuItemIdBase + nextMenu_);
        return tf::kMenuItemIdBase + nextMenu_++;
    }

    // Explicit ids are reserved first so that automatic ones never collide.
    void reserveIds(const Node& n) {
        for (const Node& c : n.children) {
            if (c.head == "id" && !c.args.empty() && n.head != "window") {
                uint32_t id = uint32_t(ParseInt(c.args[0], c.where));
                (n.head == "menu" || n.head == "item" ? usedMenuIds_ : usedControlIds_).insert(id);
            }
            reserveIds(c);
        }
        auto it = n.attrs.find("id");
        if (it != n.attrs.end())
            (n.head == "menu" || n.head == "item" ? usedMenuIds_ : usedControlIds_)
                .insert(uint32_t(ParseInt(it->second, n.where)));
    }

    void setFont(Item& item, const Node& p) {
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
    bool typeProperty(Item& item, const Node& p,
                      std::map<uint32_t, std::pair<uint32_t, std::string>>& lists) {
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
            double days = OleDays(y, mo, d, h, mi, s);
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
    bool commonProperty(Item& item, const Node& p) {
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
            item.bindings.emplace_back(int32_t(ParseInt(arg(0), p.where)), handlerOffset(arg(1)));
        } else {
            return false;
        }
        return true;
    }

    uint32_t headerId(const Node& n, bool menu) {
        std::string idText;
        if (auto it = n.attrs.find("id"); it != n.attrs.end()) idText = it->second;
        for (const Node& c : n.children)
            if (c.head == "id" && !c.args.empty()) idText = c.args[0];
        if (!idText.empty()) return uint32_t(ParseInt(idText, n.where));
        return menu ? freshMenuId() : freshControlId();
    }

    void finishTypeData(Item& item, std::map<uint32_t, std::pair<uint32_t, std::string>>& lists) {
        for (auto& [tag, l] : lists) {
            std::string v;
            PutU32(v, l.first);
            item.typeData[tag] = v + l.second;
        }
    }

    // Compiles a control block and its nested controls into items (document order).
    uint32_t compileControl(const Node& n, uint32_t parent, std::vector<Item>& items) {
        auto kind = Kinds().find(n.head);
        if (kind == Kinds().end()) Die(n.where, "unknown control kind '" + n.head + "'");
        Item item;
        item.typeId = kind->second.typeId;
        item.flags = kind->second.defaultFlags;
        item.id = headerId(n, false);
        item.parent = parent;
        if (!n.args.empty()) item.name = ToGbk(n.args[0], n.where);
        addSymbol(n, item.id);
        size_t self = items.size();
        items.push_back(item);
        std::map<uint32_t, std::pair<uint32_t, std::string>> lists;
        std::vector<std::vector<uint32_t>> pages;
        std::vector<uint32_t> children;
        std::string pageTitles;
        for (const Node& p : n.children) {
            if (p.head == "page" && item.typeId == tf::TypeId::kPageControl) {
                std::string e;
                PutString(e, ToGbk(p.args.empty() ? "" : p.args[0], p.where));
                lists[tf::Tag::kPages].first++;
                lists[tf::Tag::kPages].second += e;
                pages.emplace_back();
                for (const Node& c : p.children)
                    pages.back().push_back(compileControl(c, item.id, items));
            } else if (p.block && Kinds().count(p.head)) {
                if (!kind->second.container || item.typeId == tf::TypeId::kPageControl)
                    Die(p.where, "'" + n.head + "' cannot hold controls here");
                children.push_back(compileControl(p, item.id, items));
            } else if (!commonProperty(items[self], p) && !typeProperty(items[self], p, lists)) {
                Die(p.where, "unknown property '" + p.head + "' of " + n.head);
            }
        }
        Item& me = items[self];
        if (me.typeId == tf::TypeId::kPageControl) {
            for (size_t k = 0; k < pages.size(); ++k) {
                if (k) me.children.push_back(0);
                me.children.insert(me.children.end(), pages[k].begin(), pages[k].end());
            }
        } else {
            me.children = children;
        }
        finishTypeData(me, lists);
        return me.id;
    }

    void compileMenu(const Node& n, int32_t level, std::vector<Item>& menus) {
        Item m;
        m.typeId = tf::TypeId::kMenuItem;
        m.id = headerId(n, true);
        addSymbol(n, m.id);
        m.level = level;
        m.caption = ToGbk(n.args.empty() ? "" : n.args[0], n.where);
        for (size_t k = 1; k < n.args.size(); ++k) {
            const std::string& f = n.args[k];
            if (f == "hidden")
                m.menuFlags |= tf::kMenuHidden;
            else if (f == "disabled")
                m.menuFlags |= tf::kMenuDisabled;
            else if (f == "checked")
                m.menuFlags |= tf::kMenuChecked;
            else
                Die(n.where, "unknown menu flag " + f);
        }
        if (auto it = n.attrs.find("on"); it != n.attrs.end())
            m.handler = handlerOffset(it->second);
        menus.push_back(m);
        for (const Node& c : n.children) {
            if (c.head == "item" || c.head == "menu")
                compileMenu(c, level + 1, menus);
            else if (c.head == "on" && !c.args.empty())
                menus[menus.size() - 1].handler = handlerOffset(c.args[0]);
            else if (c.head != "id" && c.head != "symbol")
                Die(c.where, "a menu holds items only");
        }
    }

    std::string itemRecord(const Item& it) {
        std::string r;
        PutU32(r, it.typeId);
        if (it.typeId == tf::TypeId::kMenuItem) {
            for (int k = 0; k < 5; ++k) PutU32(r, 0);
            PutCString(r, "");
            PutCString(r, "");
            PutU32(r, 0);
            PutU32(r, uint32_t(it.level));
            PutU32(r, it.menuFlags);
            PutCString(r, it.caption);
            PutU32(r, uint32_t(it.handler));
            r += std::string(tf::kMenuItemReservedTail, '\0');
            return r;
        }
        PutU32(r, it.origin);
        for (int k = 0; k < 4; ++k) PutU32(r, 0);
        PutCString(r, it.name);
        PutCString(r, "");
        PutU32(r, 0);
        for (int k = 0; k < 4; ++k) PutU32(r, uint32_t(it.rect[k]));
        PutU32(r, 0);
        PutU32(r, it.parent);
        PutU32(r, uint32_t(it.children.size()));
        for (uint32_t c : it.children) PutU32(r, c);
        PutU32(r, uint32_t(it.cursor.size()));
        r += it.cursor;
        PutCString(r, it.mark);
        PutU32(r, 0);
        PutU32(r, it.flags);
        PutU32(r, it.tabOrder);
        PutU32(r, uint32_t(it.bindings.size()));
        for (auto& b : it.bindings) {
            PutU32(r, uint32_t(b.first));
            PutU32(r, uint32_t(b.second));
        }
        for (uint32_t k = 0; k < tf::kItemReservedTailWords; ++k) PutU32(r, 0);
        if (!it.typeData.empty()) {
            PutU32(r, uint32_t(it.typeData.size()));
            for (auto& [tag, v] : it.typeData) {
                PutU32(r, tag);
                PutString(r, v);
            }
        }
        return r;
    }

    void compileWindow(const Node& n) {
        reserveIds(n);
        Item win;
        win.typeId = tf::TypeId::kWindow;
        win.flags = tf::kStateVisible;
        std::string idText;
        for (const Node& c : n.children)
            if (c.head == "id" && !c.args.empty()) idText = c.args[0];
        if (idText.empty()) Die(n.where, "a window needs 'id = 0x5201....'");
        const uint32_t windowId = uint32_t(ParseInt(idText, n.where));
        if ((windowId & 0xFFFF0000u) != tf::kWindowIdBase)
            Die(n.where, "window id must be 0x5201xxxx");
        for (uint32_t w : windowIds)
            if (w == windowId) Die(n.where, "window id used twice");
        windowIds.push_back(windowId);
        win.id = tf::kWindowItemIdBase | (windowId & 0xFFFF);
        addSymbol(n, windowId);
        std::vector<Item> items{win}, menus;
        std::map<uint32_t, std::pair<uint32_t, std::string>> lists;
        for (const Node& p : n.children) {
            if (p.head == "menu") {
                compileMenu(p, 0, menus);
            } else if (p.block && Kinds().count(p.head)) {
                compileControl(p, 0, items);
            } else if (!commonProperty(items[0], p) && !typeProperty(items[0], p, lists)) {
                Die(p.where, "unknown window property '" + p.head + "'");
            }
        }
        finishTypeData(items[0], lists);
        items.insert(items.end(), menus.begin(), menus.end());
        std::set<uint32_t> ids;
        for (const Item& it : items)
            if (!ids.insert(it.id).second) Die(n.where, "item id used twice in one window");
        bool handlers = false;
        for (const Item& it : items) handlers |= !it.bindings.empty() || it.handler >= 0;

        // ItemList: count, size, keys, offsets, records.
        std::string records, keys, offsets;
        for (const Item& it : items) {
            PutU32(keys, it.id);
            PutU32(offsets, uint32_t(records.size()));
            std::string rec = itemRecord(it);
            PutU32(records, uint32_t(rec.size()));
            records += rec;
        }
        std::string data = keys + offsets + records;
        std::string& out = segmentWindows;
        PutU32(out, 0);  // stamp
        PutU32(out, handlers ? tf::kHandlerModuleIdBase | (windowId & 0xFFFF) : 0);
        PutString(out, "");
        PutString(out, "");
        PutU32(out, uint32_t(items.size()));
        PutU32(out, uint32_t(data.size()));
        out += data;
    }
};

std::string CxxString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: tavrin-templatec OUT_BASE NAMESPACE DEPFILE SOURCE...\n";
        return 2;
    }
    const std::string base = argv[1], ns = argv[2], depfile = argv[3];
    Compiler c;
    for (int k = 4; k < argc; ++k) c.compileFile(argv[k]);

    std::string segment;
    PutU32(segment, uint32_t(8 * c.windowIds.size()));
    for (uint32_t id : c.windowIds) PutU32(segment, id);
    for (size_t k = 0; k < c.windowIds.size(); ++k) PutU32(segment, 0);
    segment += c.segmentWindows;

    const std::string header = base.substr(base.find_last_of('/') + 1) + ".h";
    std::ofstream h(base + ".h");
    h << "// Generated by tavrin-templatec; do not edit.\n#pragma once\n#include <cstddef>\n"
      << "#include <cstdint>\n\nnamespace " << ns << " {\n\n"
      << "// The window template segment and the handler names its offsets index.\n"
      << "extern const uint8_t kTemplateSegment[];\nextern const std::size_t "
         "kTemplateSegmentSize;\n"
      << "extern const char* const kHandlerNames[];\nextern const std::size_t "
         "kHandlerNameCount;\n\n"
      << "namespace ids {\n";
    for (auto& [name, id] : c.symbols) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%08X", id);
        h << "constexpr uint32_t " << name << " = " << buf << ";\n";
    }
    h << "}  // namespace ids\n\n}  // namespace " << ns << "\n";

    std::ofstream cpp(base + ".cpp");
    cpp << "// Generated by tavrin-templatec; do not edit.\n#include \"" << header << "\"\n\n"
        << "namespace " << ns << " {\n\nalignas(8) const uint8_t kTemplateSegment[] = {";
    for (size_t k = 0; k < segment.size(); ++k) {
        if (k % 16 == 0) cpp << "\n   ";
        cpp << " " << unsigned(static_cast<unsigned char>(segment[k])) << ",";
    }
    cpp << "\n};\nconst std::size_t kTemplateSegmentSize = sizeof kTemplateSegment;\n\n"
        << "const char* const kHandlerNames[] = {";
    for (const std::string& n : c.handlerNames) cpp << "\n    " << CxxString(n) << ",";
    cpp << "\n    nullptr};\nconst std::size_t kHandlerNameCount = " << c.handlerNames.size()
        << ";\n\n}  // namespace " << ns << "\n";

    std::ofstream d(depfile);
    d << base << ".cpp:";
    for (const std::string& dep : c.dependencies) d << " \\\n  " << dep;
    d << "\n";
    return (h && cpp && d) ? 0 : 1;
}
