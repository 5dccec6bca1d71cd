#include "workshops/capabilities/business_plan_ops.h"

#include <algorithm>
#include <limits>

#include "model/case_edit.h"
#include "model/typed_number.h"

namespace business_plan {

namespace {

constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();

int32_t saturated(int64_t value)
{
    return static_cast<int32_t>(std::clamp(value, kLowest, kHighest));
}

int32_t& amountField(TCapability& row, int year)
{
    switch (year) {
    case 0: return row.ImpToday;
    case 1: return row.Acquisition;
    default: return row.Placement;
    }
}

TDelList<TCapability>* planOf(TCaseData& data, int customer)
{
    return data.Customers.InRange(customer) ? &data.Customers[customer].Capabilities : nullptr;
}

TCapability* entryRow(TCaseData& data, int customer, int row)
{
    TDelList<TCapability>* plan = planOf(data, customer);
    if (!plan || !plan->InRange(row) || !isEntryRow((*plan)[row]))
        return nullptr;
    return &(*plan)[row];
}

} // namespace

int32_t amount(const TCapability& row, int year)
{
    return amountField(const_cast<TCapability&>(row), year);
}

const TDelList<TCapability>* planOf(const TCaseData& data, int customer)
{
    return planOf(const_cast<TCaseData&>(data), customer);
}

const TCapability* planRow(const TCaseData& data, int customer, int row)
{
    const TDelList<TCapability>* plan = planOf(data, customer);
    return plan && plan->InRange(row) ? &(*plan)[row] : nullptr;
}

void recalculate(TDelList<TCapability>& plan)
{
    // Exact sums in 64 bits; only what is stored is limited, so a later negative entry brings a
    // subtotal back from the limit to the true value.
    std::array<int64_t, kYears> sums{};
    for (int r = 1; r < plan.Count(); ++r) {
        TCapability& row = plan[r];
        for (int year = 0; year < kYears; ++year) {
            if (isEntryRow(row))
                sums[year] += amount(row, year);
            else
                amountField(row, year) = saturated(sums[year]);
        }
    }
}

void recalculate(TCaseData& data)
{
    for (TCustProd& customer : data.Customers)
        recalculate(customer.Capabilities);
}

int32_t readAmount(std::string_view text)
{
    // The amount mask leaves blanks between a sign and the digits.
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact.push_back(c);
    const auto value = readTypedWholeNumber(compact);
    return value ? saturated(*value) : 0;
}

std::string editText(int32_t value)
{
    return std::to_string(value);
}

bool setAmount(CaseEdit& edit, int customer, int row, int year, std::string_view text)
{
    TCapability* target = entryRow(edit.data(), customer, row);
    if (!target || year < 0 || year >= kYears)
        return false;
    return edit.set(amountField(*target, year), readAmount(text));
}

bool renameRow(CaseEdit& edit, int customer, int row, std::string_view name)
{
    TCaseData& data = edit.data();
    if (!entryRow(data, customer, row))
        return false;
    bool changes = false;
    for (const TCustProd& other : data.Customers)
        if (other.Capabilities.InRange(row) && isEntryRow(other.Capabilities[row]) && other.Capabilities[row].Name != name)
            changes = true;
    if (!edit.beginFieldsIf(changes))
        return false;
    for (TCustProd& other : data.Customers)
        if (other.Capabilities.InRange(row) && isEntryRow(other.Capabilities[row]))
            edit.assign(other.Capabilities[row].Name, name);
    return true;
}

bool insertRow(CaseEdit& edit, int customer, int row)
{
    TCaseData& data = edit.data();
    const TDelList<TCapability>* plan = planOf(data, customer);
    if (!plan || row < 1 || !plan->InRange(row))
        return false;
    edit.begin();
    for (TCustProd& other : data.Customers) {
        if (!other.Capabilities.InRange(row))
            continue;
        auto inserted = std::make_unique<TCapability>();
        inserted->Name = kInsertedRowName;
        inserted->ImpTomorrow = 0;
        inserted->ImpToday = 0;
        other.Capabilities.Insert(row, std::move(inserted));
    }
    return true;
}

bool deleteRow(CaseEdit& edit, int customer, int row, Questions& ask)
{
    TCaseData& data = edit.data();
    const TCapability* target = entryRow(data, customer, row);
    if (!target || !confirmDelete(ask, kDeleteQuestion, target->Name))
        return false;
    edit.begin();
    for (TCustProd& other : data.Customers)
        if (other.Capabilities.InRange(row) && isEntryRow(other.Capabilities[row]))
            other.Capabilities.Delete(row);
    return true;
}

bool commitCell(CaseEdit& edit, int customer, int row, int column, std::string_view text)
{
    TCaseData& data = edit.data();
    const TDelList<TCapability>* plan = planOf(data, customer);
    bool changed = false;
    if (plan && row != plan->Count() - 1) {
        if (column == 0)
            changed = renameRow(edit, customer, row, text);
        else if (column >= 1 && column <= kYears)
            changed = setAmount(edit, customer, row, column - 1, text);
    }
    // Only this customer's plan can have changed; the others keep their subtotals.
    if (TDelList<TCapability>* target = planOf(data, customer))
        recalculate(*target);
    return changed;
}

Totals totals(const TCaseData& data, int rows)
{
    Totals sums(static_cast<std::size_t>(std::max(rows, 0)), {0, 0, 0});
    for (const TCustProd& customer : data.Customers)
        addToTotals(sums, customer.Capabilities, 1);
    return sums;
}

void addToTotals(Totals& sums, const TDelList<TCapability>& plan, int sign)
{
    const int count = std::min(static_cast<int>(sums.size()), plan.Count());
    for (int r = 0; r < count; ++r)
        for (int year = 0; year < kYears; ++year)
            sums[static_cast<std::size_t>(r)][static_cast<std::size_t>(year)] += sign * double(amount(plan[r], year));
}

} // namespace business_plan
