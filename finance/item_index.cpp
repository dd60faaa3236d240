// The in-memory index of a side's items and its per-period, per-category sums.
#include "finance/item_index.h"

#include <algorithm>
#include <cmath>

#include "app_constants.h"
#include "finance/shown_period.h"

namespace tavrin::finance {

namespace {

// The date text up to the "月" that ends its month part (the whole text when
// it has none): all that decides the period, so dates of one month share it.
std::string_view PeriodPrefix(std::string_view text) {
    const std::string_view year(app::PeriodYearMark), month(app::PeriodMonthMark);
    bool afterYear = false;
    for (size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        if (!afterYear && rest.starts_with(year)) {
            afterYear = true;
            i += year.size();
            continue;
        }
        if (afterYear && rest.starts_with(month)) return text.substr(0, i + month.size());
        i += static_cast<unsigned char>(text[i]) >= 0x81 ? 2 : 1;
    }
    return text;
}

}  // namespace

void ItemIndex::clear() {
    entries_.clear();
    entries_.shrink_to_fit();
    periods_.clear();
    categories_.clear();
    periodIds_.clear();
    prefixIds_.clear();
    dayIds_.clear();
    categoryIds_.clear();
    sums_.clear();
    ascending_ = true;
    current_ = false;
    ++generation_;
    stamp_ = {};
}

void ItemIndex::markCurrent(FileStamp stamp) {
    stamp_ = stamp;
    current_ = true;
}

uint32_t ItemIndex::periodId(std::string_view dateText, double days) {
    // Dates from 1899-12-30 to the year 4770 find the day's period in a
    // table; the last moments of a day, which the text may round into the
    // next, are always read from the text.
    constexpr double kDays = 1 << 20;
    const bool byDay = days >= 0 && days < kDays && days - std::floor(days) < 0.999;
    const auto day = byDay ? size_t(days) : 0;
    if (byDay && day < dayIds_.size() && dayIds_[day] != 0) return dayIds_[day] - 1;
    const uint32_t id = periodOfText(dateText);
    if (byDay) {
        if (dayIds_.size() <= day) dayIds_.resize(day + 1);
        dayIds_[day] = id + 1;
    }
    return id;
}

uint32_t ItemIndex::periodOfText(std::string_view dateText) {
    const std::string_view prefix = PeriodPrefix(dateText);
    if (auto it = prefixIds_.find(prefix); it != prefixIds_.end()) return it->second;
    const uint32_t id = partsId(dateText);
    prefixIds_.emplace(std::string(prefix), id);
    return id;
}

uint32_t ItemIndex::partsId(std::string_view dateText) {
    // Keyed by the parts a period compares: two texts with the same parts
    // fall in the same periods.
    std::string year = YearPartOf(dateText), month = MonthPartOf(dateText);
    std::string key = year;
    key.push_back('\0');
    key += month;
    if (auto it = periodIds_.find(std::string_view(key)); it != periodIds_.end()) return it->second;
    const auto id = uint32_t(periods_.size());
    periods_.push_back({std::move(year), std::move(month)});
    periodIds_.emplace(std::move(key), id);
    return id;
}

uint32_t ItemIndex::categoryId(std::string_view category) {
    // A few categories are found faster one by one than by their hash.
    if (categories_.size() <= 16) {
        for (size_t i = 0; i < categories_.size(); ++i)
            if (categories_[i] == category) return uint32_t(i);
    } else if (auto it = categoryIds_.find(category); it != categoryIds_.end())
        return it->second;
    const auto id = uint32_t(categories_.size());
    categories_.emplace_back(category);
    categoryIds_.emplace(std::string(category), id);
    return id;
}

void ItemIndex::addToSums(const Entry& e) {
    if (sums_.size() <= e.period) sums_.resize(e.period + 1);
    std::vector<Sum>& ofPeriod = sums_[e.period];
    if (ofPeriod.size() <= e.category) ofPeriod.resize(e.category + 1);
    ofPeriod[e.category].sum.add(e.amount);
    ++ofPeriod[e.category].items;
}

void ItemIndex::removeFromSums(const Entry& e) {
    Sum& s = sums_[e.period][e.category];
    s.sum.remove(e.amount);
    // Without items the sum is 0 exactly, whatever was added and taken away.
    if (--s.items == 0) s.sum = RunningTotal();
}

void ItemIndex::append(int32_t serial, float amount, std::string_view category,
                       std::string_view dateText, double days) {
    if (!entries_.empty() && serial <= entries_.back().serial) ascending_ = false;
    entries_.push_back({serial, amount, periodId(dateText, days), categoryId(category)});
    addToSums(entries_.back());
}

bool ItemIndex::change(int32_t serial, float amount, std::string_view category,
                       std::string_view dateText) {
    const int32_t at = positionOf(serial);
    if (at < 0) return false;
    Entry& e = entries_[size_t(at)];
    removeFromSums(e);
    e.amount = amount;
    e.period = periodId(dateText);
    e.category = categoryId(category);
    addToSums(e);
    return true;
}

int32_t ItemIndex::remove(int32_t serial) {
    const int32_t at = positionOf(serial);
    if (at < 0) return -1;
    removeFromSums(entries_[size_t(at)]);
    entries_.erase(entries_.begin() + at);
    return at;
}

int32_t ItemIndex::positionOf(int32_t serial) const {
    if (ascending_) {
        auto it = std::lower_bound(entries_.begin(), entries_.end(), serial,
                                   [](const Entry& e, int32_t s) { return e.serial < s; });
        return it != entries_.end() && it->serial == serial ? int32_t(it - entries_.begin()) : -1;
    }
    // Serials written out of order by another program: looked for one by one.
    for (size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].serial == serial) return int32_t(i);
    return -1;
}

std::vector<bool> ItemIndex::periodsIn(const ShownPeriod& shown) const {
    std::vector<bool> in(periods_.size());
    for (size_t i = 0; i < periods_.size(); ++i)
        in[i] = (!shown.byYear || periods_[i].year == shown.yearKey) &&
                (!shown.byMonth || periods_[i].month == shown.monthKey);
    return in;
}

std::vector<int32_t> ItemIndex::positionsIn(const ShownPeriod& shown, RunningTotal* sum) const {
    const std::vector<bool> in = periodsIn(shown);
    std::vector<int32_t> out;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!in[entries_[i].period]) continue;
        out.push_back(int32_t(i));
        sum->add(entries_[i].amount);
    }
    return out;
}

void ItemIndex::forEachSum(
    const std::function<void(uint32_t, uint32_t, const RunningTotal&)>& visit) const {
    for (size_t p = 0; p < sums_.size(); ++p)
        for (size_t c = 0; c < sums_[p].size(); ++c)
            if (sums_[p][c].items > 0) visit(uint32_t(p), uint32_t(c), sums_[p][c].sum);
}

ItemIndex& IndexOfSide(bool income) {
    static ItemIndex sides[2];
    return sides[income ? 1 : 0];
}

}  // namespace tavrin::finance
