#pragma once

// Model operations of the Business Plan workshop: a three-year profit plan per customer, kept in
// the customer's Capabilities list, and its totals over all customers. A plan row is a TCapability:
//
//   Name         row caption
//   ImpTomorrow  row kind: 0 = entry row (amounts are typed), anything else = predefined subtotal row
//   ImpToday, Acquisition, Placement   the amounts of Year1, Year2, Year3
//
// Every customer is meant to carry the same rows at the same positions, so renaming, inserting and
// deleting act on one position in every plan. A plan may still differ in length from the others
// (a damaged file, an entry created outside the workshops): each operation then acts only on the
// plans that hold that position as an entry row, and totals count missing rows as 0.
//
// Amounts are signed 32-bit. Subtotals that would leave that range stop at its limits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/case_data.h"
#include "model/core_text.h"
#include "model/questions.h"

class CaseEdit;

namespace business_plan {

inline constexpr int kYears = 3;
inline constexpr const char* kInsertedRowName = "<new item>";
inline constexpr const char* kDeleteQuestion = CORE_TEXT("Questions", "Delete item '%s'?");

inline bool isEntryRow(const TCapability& row) { return row.ImpTomorrow == 0; }

// Amount of year 0, 1 or 2 of a plan row.
int32_t amount(const TCapability& row, int year);

// The plan of customer `customer`; null when there is no such customer.
const TDelList<TCapability>* planOf(const TCaseData& data, int customer);
// Row `row` of a customer's plan; null when the customer or the row does not exist.
const TCapability* planRow(const TCaseData& data, int customer, int row);

// Writes every predefined row's amounts (except the first row's) as the running sums of all entry
// rows above it, for every customer. Subtotals are derived data: no undo step, Modified untouched.
void recalculate(TCaseData& data);
void recalculate(TDelList<TCapability>& plan);

// Text typed into an amount cell read as a whole number: blanks are ignored, an optional sign and
// digits are accepted, anything else reads as 0; values beyond 32 bits stop at the limits.
int32_t readAmount(std::string_view text);
// The text an amount is edited as: no separators, no decimals.
std::string editText(int32_t value);

// Sets amount `year` of an entry row of one customer's plan; one undo step when it changes.
bool setAmount(CaseEdit& edit, int customer, int row, int year, std::string_view text);

// Renames entry row `row` of every plan. Refused when the customer's row is a predefined one.
bool renameRow(CaseEdit& edit, int customer, int row, std::string_view name);

// Inserts an entry row "<new item>" before position `row` in every plan that has that position.
// Refused for the first row and positions outside the customer's plan.
bool insertRow(CaseEdit& edit, int customer, int row);

// Asks "Delete item '%s'?" for the customer's entry row `row` and on Yes removes that row from
// every plan in which it is an entry row. Predefined rows are never asked about or removed.
bool deleteRow(CaseEdit& edit, int customer, int row, Questions& ask);

// What a typed plan cell commits: column 0 renames the row, columns 1 to 3 set an amount. The last
// row (the closing subtotal) takes no edit. Recalculates the customer's plan afterwards whatever
// happened (no other plan changes).
bool commitCell(CaseEdit& edit, int customer, int row, int column, std::string_view text);

// The totals of rows 0..rows-1: for each row and year the sum over all customers, added in double
// precision; a plan too short to have the row counts 0.
using Totals = std::vector<std::array<double, kYears>>;
Totals totals(const TCaseData& data, int rows);
// Adds (sign 1) or takes away (sign -1) one plan's amounts to or from totals, for keeping them
// current across an edit of one plan without adding up every customer again.
void addToTotals(Totals& sums, const TDelList<TCapability>& plan, int sign);

} // namespace business_plan
