#include "workshops/portfolio/portfolio_ops.h"

#include <gtest/gtest.h>

using namespace portfolio;

namespace {

// A pair of fields as the filter reads it: defaults for text that is no number, nothing limited.
TEST(PortfolioFilter, FieldsAreReadWithDefaultsButUnlimited)
{
    const struct {
        const char* from;
        const char* to;
        ScoreRange read;
    } cases[] = {
        {"", "", {1, 10}}, {"0", "99", {0, 99}}, {"a", " 7", {1, 7}}, {"+3", "   ", {3, 10}}, {"1 2", "-4", {1, -4}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readScoreRange(c.from, c.to), c.read) << '"' << c.from << "\", \"" << c.to << '"';
}

TEST(PortfolioFilter, NormalizingLimitsEachBoundAndTurnsAReversedPairRound)
{
    const struct {
        ScoreRange typed;
        ScoreRange shown;
    } cases[] = {{{8, 3}, {3, 8}}, {{0, 99}, {1, 10}}, {{99, 0}, {1, 10}}, {{4, 4}, {4, 4}}, {{-5, 2}, {1, 2}}};
    for (const auto& c : cases)
        EXPECT_EQ(c.typed.normalized(), c.shown) << c.typed.from << ".." << c.typed.to;
}

TEST(PortfolioFilter, ALeftBoundFieldIsLimitedAndShowsTheValueOnlyWhenThatChangedIt)
{
    const struct {
        const char* text;
        int32_t value;
        bool limited;
    } cases[] = {{"5", 5, false}, {" 3", 3, false}, {"10", 10, false}, {"1", 1, false}, {"", 1, true},
                 {"x", 1, true},  {"0", 1, true},   {"-3", 1, true},   {"99", 10, true}};
    for (const auto& c : cases) {
        const LimitedBound bound = limitBound(c.text);
        EXPECT_EQ(bound.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(bound.limited, c.limited) << '"' << c.text << '"';
    }
}

TEST(PortfolioRows, AnEntryPacksItsValuesAtTheChartsEdgesAndNeverAsAHeading)
{
    EXPECT_EQ(PlotRow::headingRow("Area").plotValues(), 0u);
    EXPECT_EQ(PlotRow::entryRow("a", 7, 3).plotValues(), 7u | (3u << 16)) << "vertical low, horizontal high";
    EXPECT_EQ(PlotRow::entryRow("a", 10, 1).plotValues(), 10u | (1u << 16));
    EXPECT_EQ(PlotRow::entryRow("a", 0, 0).plotValues(), 1u | (1u << 16)) << "an emptied rating is still plotted";
    EXPECT_EQ(PlotRow::entryRow("a", -1, 70000).plotValues(), 1u | (10u << 16));
    EXPECT_EQ(plotValuesOf({PlotRow::headingRow("h"), PlotRow::entryRow("e", 2, 5)}),
              (std::vector<uint32_t>{0u, 2u | (5u << 16)}));
}

} // namespace
