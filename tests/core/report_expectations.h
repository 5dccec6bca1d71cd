#pragma once

// The bytes the case report is expected to contain, spelled out piece by piece from the report's
// layout rules (headings, table titles, border states of boxed and grouped rows). Written
// independently of the report code so that the tests compare two derivations.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace report_expect {

inline const std::string kPlain = R"(\b0\i0\strike0\ulnone)";
inline const std::string kNextRow = R"(\intbl \row \trowd \trgaph108\trleft-108 \intbl)";
inline const std::string kEndTable = R"(\widctlpar\intbl \row \pard \widctlpar )";
inline const std::string kIndentReset = R"(\fi0\li0)";
inline const std::string kFormatWords =
    R"(\deftab720\hyphhotz0\hyphconsec0\hyphcaps0\hyphauto1\linestart1\defformat\deflang1033)"
    R"(\paperw12240\paperh15840\margl1440\margr1440\margt1440\margb1440\gutter0\pgnstart1\widowctrl )"
    R"(\fet0\ftnbj\aendnotes\ftnstart1\afnstart1\ftnnar\aftnnar)";
inline const std::string kDocumentStart =
    R"({\rtf1\ansi{\fonttbl{\f1\froman\fcharset2\fprq2 Symbol}{\f3\froman\fcharset0\fprq2 Times New Roman}})" +
    kFormatWords;

using Edges = std::vector<int>;

inline std::string chapter(std::string_view text)
{
    return R"(\page\b\i\ql\fs32\sb0\sa480 )" + std::string(text) + R"(\par\qj\fs18\sa0)" + kPlain;
}

inline std::string subHeading(std::string_view text)
{
    return R"(\b\i0\ql\fs18\sb240 )" + std::string(text) + R"(\par\ql\fs18\sb0)" + kPlain;
}

inline std::string tableTitle(std::string_view text)
{
    return R"(\b\i0\ql\fs18\sb240\sa120 )" + std::string(text) + R"(\keepn\par\ql\fs18\sb0\sa0)" + kPlain +
           R"(\trowd \trgaph108\trleft-108 \pard\intbl)";
}

inline std::string cell(std::string_view text) { return R"(\intbl )" + std::string(text) + R"(\cell)"; }
inline std::string right(std::string_view text) { return R"(\qr)" + cell(text) + R"(\ql)"; }
inline std::string empty(int count = 1)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += R"(\cell)";
    return out;
}

inline std::string bullets(std::initializer_list<std::string_view> lines)
{
    std::string out = R"(\fi-240\li240)";
    bool first = true;
    for (std::string_view line : lines) {
        if (!first)
            out += R"(\par)";
        first = false;
        out += R"(\f1 \tx240 \'b7\tab \f3 )" + std::string(line);
    }
    return out + R"(\cell)";
}

// The border words of one cell: `top` and `bottom` are the style words, "" for a cleared line.
inline std::string cellBorders(std::string_view top, std::string_view bottom, int edge)
{
    return R"(\clbrdrl\brdrs\brdw15 \clbrdrr\brdrs\brdw15 \clbrdrt)" + std::string(top) + R"(\brdw15 \clbrdrb)" +
           std::string(bottom) + R"(\brdw15 \cellx)" + std::to_string(edge);
}

inline const std::string kSingle = R"(\brdrs)";
inline const std::string kDouble = R"(\brdrdb)";

// Cell definitions of a row whose first cell has the given top and bottom lines and whose other
// cells have `otherTop` above and single lines elsewhere.
inline std::string rowCells(const Edges& edges, std::string_view firstTop, std::string_view firstBottom,
                            std::string_view otherTop)
{
    std::string out;
    for (std::size_t i = 0; i < edges.size(); ++i)
        out += i == 0 ? cellBorders(firstTop, firstBottom, edges[i]) : cellBorders(otherTop, kSingle, edges[i]);
    return out;
}

inline std::string boxed(const Edges& edges) { return rowCells(edges, kSingle, kSingle, kSingle); }

inline std::string headerRow(const Edges& edges, std::initializer_list<std::string_view> titles)
{
    std::string out = boxed(edges) + R"(\b)";
    for (std::string_view title : titles)
        out += title.empty() ? empty() : cell(title);
    return out + kPlain;
}

inline std::string boxedRow(const Edges& edges) { return kNextRow + boxed(edges); }

// The first row of an owner; its cell 1 has no bottom line when sub-rows follow.
inline std::string ownerRow(const Edges& edges, bool hasSubItems)
{
    return kNextRow + rowCells(edges, kDouble, hasSubItems ? "" : kSingle, kDouble);
}

// A further sub-row of an owner; cell 1 has no top line, and no bottom line unless it is the last.
inline std::string continuationRow(const Edges& edges, bool last)
{
    return kNextRow + rowCells(edges, "", last ? kSingle : "", kSingle);
}

// Row k (0-based) of n of a market-group block.
inline std::string blockRow(const Edges& edges, int k, int n)
{
    const std::string bottom = k < n - 1 ? std::string() : kSingle;
    return kNextRow + rowCells(edges, k == 0 ? kDouble : "", bottom, k == 0 ? kDouble : kSingle);
}

// Fails with the first differing offset and the text around it on both sides.
inline void expectSameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return;
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    const std::size_t from = at > 60 ? at - 60 : 0;
    ADD_FAILURE() << "documents differ at byte " << at << " (sizes " << actual.size() << " and " << expected.size()
                  << ")\n  actual:   ..." << actual.substr(from, 160) << "\n  expected: ..."
                  << expected.substr(from, 160);
}

// Expects `fragment` in `document` and returns where it starts.
inline std::size_t expectContains(const std::string& document, const std::string& fragment)
{
    const std::size_t at = document.find(fragment);
    EXPECT_NE(at, std::string::npos) << "missing from the report:\n" << fragment;
    return at;
}

} // namespace report_expect
