// What the find bar searches: per list row its category and remark (Latin
// letters folded to lower case, GBK characters whole), its amount and its day,
// kept in flat arrays so that a million rows are searched in a few milliseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::finance {

// A search: text found in the category or the remark, and optional bounds
// (inclusive) on the amount in cents and on the day (yyyymmdd).
struct FindQuery {
    std::string text;  // GBK, folded with FoldForFind
    std::optional<int64_t> fromCents, toCents;
    std::optional<int32_t> fromDay, toDay;
    bool empty() const { return text.empty() && !fromCents && !toCents && !fromDay && !toDay; }
    bool sameBounds(const FindQuery& o) const {
        return fromCents == o.fromCents && toCents == o.toCents && fromDay == o.fromDay &&
               toDay == o.toDay;
    }
};

// Latin capitals to small letters, character by character: the second byte of
// a double-byte character is never taken for a letter.
std::string FoldForFind(std::string_view gbk);
// The day of a date text ("2012年5月3日14时…") as yyyymmdd; -1 when it has none.
int32_t DayOfDateText(std::string_view gbk);

// One row's texts as the list shows them (GBK).
struct FindRow {
    std::string_view category, remark, amount, date;
};

class FindIndex {
  public:
    int32_t rows() const { return int32_t(start_.size()); }
    void clear();
    // Room for this many rows holding about this many bytes of text.
    void reserve(int32_t rows, size_t textBytes);
    // Rows [at, at + count) come in; row(i) gives the texts of the i-th new one.
    template <typename RowAt>
    void insert(int32_t at, int32_t count, RowAt row);
    void erase(int32_t at, int32_t count);
    void update(int32_t at, const FindRow& row);

    bool matches(int32_t row, const FindQuery& query) const;
    // The rows that match, ascending. With `within` (ascending, the rows that
    // matched a query this one narrows) only those are looked at.
    std::vector<int32_t> search(const FindQuery& query,
                                const std::vector<int32_t>* within = nullptr);
    // The amount of a row as the total counts it (0 when it is no number).
    float amount(int32_t row) const { return amount_[size_t(row)]; }

  private:
    struct Entry {
        uint32_t start, length;
        float amount;
        int64_t cents;
        int32_t day;
    };
    Entry entryOf(const FindRow& row);
    bool textMatches(int32_t row, std::string_view needle) const;
    bool boundsMatch(int32_t row, const FindQuery& query) const;
    void put(size_t at, const Entry& e);
    // Lays the rows' texts out in row order again, so that one pass over the
    // buffer meets the rows in order.
    void compact();

    std::string text_;  // per row: category, '\n', remark, '\n'
    std::vector<uint32_t> start_, length_;
    std::vector<float> amount_;
    std::vector<int64_t> cents_;
    std::vector<int32_t> day_;
    bool ordered_ = true;  // row texts lie in row order in text_
    size_t wasted_ = 0;    // bytes of text_ no row refers to
};

template <typename RowAt>
void FindIndex::insert(int32_t at, int32_t count, RowAt row) {
    const bool atEnd = at == rows();
    std::vector<Entry> entries;
    entries.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) entries.push_back(entryOf(row(i)));
    auto spread = [&](auto& v, auto field) {
        std::vector<std::decay_t<decltype(v[0])>> values;
        values.reserve(entries.size());
        for (const Entry& e : entries) values.push_back(e.*field);
        v.insert(v.begin() + at, values.begin(), values.end());
    };
    spread(start_, &Entry::start);
    spread(length_, &Entry::length);
    spread(amount_, &Entry::amount);
    spread(cents_, &Entry::cents);
    spread(day_, &Entry::day);
    if (!atEnd) ordered_ = false;
}

}  // namespace tavrin::finance
