// The find index. A text hit counts only where a character starts: GBK's
// second bytes overlap the ASCII letters, so "A" must not be found inside 啊.
#include "find_index.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "runtime/gbk.h"

namespace tavrin::finance {

namespace {

constexpr int64_t kNoCents = INT64_MIN;

size_t CharLength(const char* p) {
    return IsGbkLeadByte(static_cast<unsigned char>(*p)) ? 2 : 1;
}

// Folds the text at [from, end of text) in place.
void FoldTail(std::string& text, size_t from) {
    for (size_t i = from; i < text.size(); i += CharLength(&text[i]))
        if (text[i] >= 'A' && text[i] <= 'Z') text[i] = char(text[i] - 'A' + 'a');
}

}  // namespace

std::string FoldForFind(std::string_view gbk) {
    std::string out(gbk);
    FoldTail(out, 0);
    return out;
}

namespace {

// Appends a text folded for the search, then the separator no text holds.
void AppendFolded(std::string& text, std::string_view gbk) {
    const size_t from = text.size();
    text.append(gbk);
    FoldTail(text, from);
    text += '\n';
}

}  // namespace

int32_t DayOfDateText(std::string_view gbk) {
    int32_t parts[3] = {0, 0, 0};
    size_t i = 0;
    for (int32_t& part : parts) {
        const size_t begin = i;
        while (i < gbk.size() && gbk[i] >= '0' && gbk[i] <= '9' && i - begin < 5)
            part = part * 10 + (gbk[i++] - '0');
        if (i == begin || i >= gbk.size()) return -1;
        i += CharLength(&gbk[i]);  // 年, 月, 日 (or a separator)
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) return -1;
    return parts[0] * 10000 + parts[1] * 100 + parts[2];
}

void FindIndex::reserve(int32_t rows, size_t textBytes) {
    text_.reserve(textBytes);
    for (auto* v : {&start_, &length_}) v->reserve(size_t(rows));
    amount_.reserve(size_t(rows));
    cents_.reserve(size_t(rows));
    day_.reserve(size_t(rows));
}

void FindIndex::clear() {
    text_.clear();
    start_.clear();
    length_.clear();
    amount_.clear();
    cents_.clear();
    day_.clear();
    ordered_ = true;
    wasted_ = 0;
}

FindIndex::Entry FindIndex::entryOf(const FindRow& row) {
    Entry e;
    e.start = uint32_t(text_.size());
    AppendFolded(text_, row.category);
    AppendFolded(text_, row.remark);
    e.length = uint32_t(text_.size() - e.start);
    double amount = 0;
    const char* begin = row.amount.data();
    const auto [end, error] = std::from_chars(begin, begin + row.amount.size(), amount);
    const bool number = error == std::errc() && end == begin + row.amount.size() &&
                        std::isfinite(amount) && std::fabs(amount) < 1e15;
    e.amount = number ? float(amount) : 0.0f;
    e.cents = number ? std::llround(double(e.amount) * 100.0) : kNoCents;
    e.day = DayOfDateText(row.date);
    return e;
}

void FindIndex::put(size_t at, const Entry& e) {
    start_[at] = e.start;
    length_[at] = e.length;
    amount_[at] = e.amount;
    cents_[at] = e.cents;
    day_[at] = e.day;
}

void FindIndex::erase(int32_t at, int32_t count) {
    for (int32_t r = at; r < at + count; ++r) wasted_ += length_[size_t(r)];
    auto cut = [&](auto& v) { v.erase(v.begin() + at, v.begin() + at + count); };
    cut(start_);
    cut(length_);
    cut(amount_);
    cut(cents_);
    cut(day_);
}

void FindIndex::update(int32_t at, const FindRow& row) {
    wasted_ += length_[size_t(at)];
    put(size_t(at), entryOf(row));
    if (at + 1 < rows()) ordered_ = false;
    // Rewritten and removed rows leave their old texts behind; past half the
    // buffer they go.
    if (wasted_ > (size_t(1) << 20) && wasted_ > text_.size() / 2) compact();
}

void FindIndex::compact() {
    std::string fresh;
    size_t total = 0;
    for (uint32_t l : length_) total += l;
    fresh.reserve(total);
    for (size_t r = 0; r < start_.size(); ++r) {
        const uint32_t at = uint32_t(fresh.size());
        fresh.append(text_, start_[r], length_[r]);
        start_[r] = at;
    }
    text_ = std::move(fresh);
    ordered_ = true;
    wasted_ = 0;
}

bool FindIndex::boundsMatch(int32_t row, const FindQuery& q) const {
    const size_t r = size_t(row);
    if (q.fromCents || q.toCents) {
        if (cents_[r] == kNoCents) return false;
        if (q.fromCents && cents_[r] < *q.fromCents) return false;
        if (q.toCents && cents_[r] > *q.toCents) return false;
    }
    if (q.fromDay || q.toDay) {
        if (day_[r] < 0) return false;
        if (q.fromDay && day_[r] < *q.fromDay) return false;
        if (q.toDay && day_[r] > *q.toDay) return false;
    }
    return true;
}

bool FindIndex::textMatches(int32_t row, std::string_view needle) const {
    if (needle.empty()) return true;
    const char* begin = text_.data() + start_[size_t(row)];
    const char* end = begin + length_[size_t(row)];
    const char* from = begin;
    for (;;) {
        const void* hit = memmem(from, size_t(end - from), needle.data(), needle.size());
        if (hit == nullptr) return false;
        const char* h = static_cast<const char*>(hit);
        const char* p = begin;
        while (p < h) p += CharLength(p);
        if (p == h) return true;
        from = h + 1;
    }
}

bool FindIndex::matches(int32_t row, const FindQuery& query) const {
    return row >= 0 && row < rows() && boundsMatch(row, query) && textMatches(row, query.text);
}

std::vector<int32_t> FindIndex::search(const FindQuery& query, const std::vector<int32_t>* within) {
    std::vector<int32_t> out;
    const std::string_view needle = query.text;
    if (within != nullptr) {
        for (int32_t r : *within)
            if (matches(r, query)) out.push_back(r);
        return out;
    }
    if (needle.empty()) {
        for (int32_t r = 0; r < rows(); ++r)
            if (boundsMatch(r, query)) out.push_back(r);
        return out;
    }
    if (!ordered_) compact();
    // One pass over the buffer: each hit is placed in the row whose text
    // holds it (rows lie in order; a deleted row leaves a gap no row owns).
    const char* base = text_.data();
    const size_t size = text_.size();
    const int32_t n = rows();
    int32_t r = 0;
    size_t from = n > 0 ? start_[0] : size;
    while (r < n && from < size) {
        const void* hit = memmem(base + from, size - from, needle.data(), needle.size());
        if (hit == nullptr) break;
        const size_t h = size_t(static_cast<const char*>(hit) - base);
        while (r + 1 < n && start_[size_t(r) + 1] <= h) ++r;
        const size_t rowEnd = start_[size_t(r)] + length_[size_t(r)];
        if (h < start_[size_t(r)] || h + needle.size() > rowEnd) {
            from = h + 1;
            continue;
        }
        const char* p = base + start_[size_t(r)];
        while (p < base + h) p += CharLength(p);
        if (p != base + h) {
            from = h + 1;
            continue;
        }
        if (boundsMatch(r, query)) out.push_back(r);
        if (++r >= n) break;
        from = start_[size_t(r)];
    }
    return out;
}

}  // namespace tavrin::finance
