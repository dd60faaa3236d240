// Full listings of the item files with their totals, and column sizing.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace tavrin::finance {

// Every record of the side's file into its list (row r = record r + 1, the
// record's serial kept as the row's data, amounts as money text) and the side's
// total as the exact sum of the listed amounts.
void ListAllIncome();
void ListAllExpense();
// Whether a side's list holds every record of its file, as a full listing
// leaves it, rather than the rows of a period view.
bool ListHoldsAll(bool income);
void NoteListNarrowed(bool income);
void NoteListHoldsAll(bool income);
// Builds the side's item index from its file without touching its list.
void IndexItemFile(bool income);
// Sizes every column of a report list of the main window to its header.
void AutoSizeColumns(uint32_t list);
// The years (as numbers) of the items seen by the listings since start.
const std::set<int32_t>& ListedYears();
// Notes the year of an item's date text ("2012年5月3日") among the listed years.
void NoteListedYear(const std::string& gbkDateText);
void ForgetListedYears();

}  // namespace tavrin::finance
