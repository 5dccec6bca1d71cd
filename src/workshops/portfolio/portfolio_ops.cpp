#include "workshops/portfolio/portfolio_ops.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "model/typed_number.h"

namespace portfolio {

namespace {

int readBound(std::string_view text, int fallback)
{
    const auto value = readTypedWholeNumber(text);
    return value ? clampedTo(*value, INT32_MIN, INT32_MAX) : fallback;
}

int limitedScore(int value)
{
    return std::clamp(value, 1, 10);
}

} // namespace

ScoreRange ScoreRange::normalized() const
{
    ScoreRange range{limitedScore(from), limitedScore(to)};
    if (range.from > range.to)
        std::swap(range.from, range.to);
    return range;
}

ScoreRange readScoreRange(std::string_view fromText, std::string_view toText)
{
    return {readBound(fromText, 1), readBound(toText, 10)};
}

LimitedBound limitBound(std::string_view text)
{
    const int typed = readBound(text, 0);
    const int value = limitedScore(typed);
    return {value, value != typed};
}

PlotRow PlotRow::headingRow(std::string caption, int owner)
{
    PlotRow row;
    row.caption = std::move(caption);
    row.owner = owner;
    return row;
}

PlotRow PlotRow::titleRow(const char* key)
{
    PlotRow row = headingRow(key);
    row.captionIsKey = true;
    return row;
}

PlotRow PlotRow::entryRow(std::string caption, int vertical, int horizontal, int owner, int entry)
{
    return {std::move(caption), false, vertical, horizontal, owner, entry};
}

uint32_t PlotRow::plotValues() const
{
    if (heading)
        return 0;
    return static_cast<uint32_t>(limitedScore(vertical)) | (static_cast<uint32_t>(limitedScore(horizontal)) << 16);
}

std::vector<uint32_t> plotValuesOf(const std::vector<PlotRow>& rows)
{
    std::vector<uint32_t> values;
    values.reserve(rows.size());
    for (const PlotRow& row : rows)
        values.push_back(row.plotValues());
    return values;
}

} // namespace portfolio
