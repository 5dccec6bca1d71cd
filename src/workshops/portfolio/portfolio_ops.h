#pragma once

// What the portfolio pages of the workshops share below the window: the filter their lists are
// built through (a range of scores for each of the two plotted values) and the rows of those
// lists. Each workshop builds its rows from the case (buildChangeList, buildRiskList,
// buildGraphRows, buildGraphList); the page widget shows them beside the diagram.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/core_text.h"

namespace portfolio {

// Inclusive bounds on a score. The fields give them as typed; only the page's cleaning (below)
// limits them.
struct ScoreRange {
    int from = 1;
    int to = 10;

    bool contains(int value) const { return from <= value && value <= to; }
    // Each bound limited to 1..10, a reversed pair turned round.
    ScoreRange normalized() const;
    bool operator==(const ScoreRange&) const = default;
};

// A pair of fields read as whole numbers; text that is no number gives 1 (from) or 10 (to).
ScoreRange readScoreRange(std::string_view fromText, std::string_view toText);

// A bound field the user leaves where bounds are limited then: the whole number limited to 1..10,
// text that is no number counting as below 1. `limited` says the field must show `value` instead
// of what was typed.
struct LimitedBound {
    int32_t value = 1;
    bool limited = false;
};
LimitedBound limitBound(std::string_view text);

// When a page cleans what was typed into its filter fields.
enum class Cleaning {
    None,      // never: read as typed
    OnRefresh, // Refresh limits each bound and turns a reversed pair round, in the fields too
    OnLeave,   // leaving a field limits its bound
};

// The filter of a diagram's list: a range for each of the two plotted values.
struct PlotFilter {
    ScoreRange vertical;
    ScoreRange horizontal;

    bool admits(int verticalValue, int horizontalValue) const
    {
        return vertical.contains(verticalValue) && horizontal.contains(horizontalValue);
    }
};

// One row of a diagram's list: a heading, listed but never plotted or picked, or an entry that the
// list shows with its two values and the diagram plots at them.
struct PlotRow {
    std::string caption;
    bool heading = true;
    int vertical = 0;
    int horizontal = 0;
    // What the row stands for, where the page needs to know (an item and its key characteristic);
    // -1 elsewhere.
    int owner = -1;
    int entry = -1;
    // The caption is a key of the context "Workshop texts", not a name from the case.
    bool captionIsKey = false;

    static PlotRow headingRow(std::string caption, int owner = -1);
    static PlotRow titleRow(const char* key);
    static PlotRow entryRow(std::string caption, int vertical, int horizontal, int owner = -1, int entry = -1);

    // The list's data word: the vertical value in the low 16 bits, the horizontal one in the high
    // 16 bits, 0 for a heading. Values outside 1..10 (a damaged file, an emptied rating) are drawn
    // at the nearest edge, so an entry never packs to 0 and never lands outside the chart.
    uint32_t plotValues() const;
    bool operator==(const PlotRow&) const = default;
};

// The data words of a list's rows, in order.
std::vector<uint32_t> plotValuesOf(const std::vector<PlotRow>& rows);

} // namespace portfolio
