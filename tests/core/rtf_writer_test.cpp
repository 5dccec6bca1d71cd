// The RTF writer: exact bytes of each operation, the font table, the document-format words, the
// border state of tables, and saving.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/report_text.h"
#include "report/rtf_writer.h"
#include "test_support.h"

namespace {

struct WarningLog {
    std::vector<std::string> messages;
    TRTFWriter::WarningHandler handler()
    {
        return [this](const std::string& message) { messages.push_back(message); };
    }
};

// The body a fresh document gets from `calls`.
std::string bodyOf(const std::function<void(TRTFWriter&)>& calls)
{
    TRTFWriter writer([](const std::string& message) { ADD_FAILURE() << "unexpected warning: " << message; });
    writer.NewDocument();
    calls(writer);
    return writer.Body();
}

struct OperationCase {
    const char* name;
    std::function<void(TRTFWriter&)> calls;
    std::string expected;
};

class WriterOperation : public testing::TestWithParam<OperationCase> {};

TEST_P(WriterOperation, AppendsExactlyItsBytes)
{
    EXPECT_EQ(bodyOf(GetParam().calls), GetParam().expected);
}

const int kTwoEdges[] = {100, 200};

INSTANTIATE_TEST_SUITE_P(
    RtfWriter, WriterOperation,
    testing::Values(
        OperationCase{"FontSizeBelowTwoIgnored", [](TRTFWriter& w) { w.SetFontSize(1); }, ""},
        OperationCase{"FontSize64Ignored", [](TRTFWriter& w) { w.SetFontSize(64); }, ""},
        OperationCase{"FontSizeInHalfPoints", [](TRTFWriter& w) { w.SetFontSize(9); }, "\\fs18"},
        OperationCase{"FontSizeLimits", [](TRTFWriter& w) { w.SetFontSize(2); w.SetFontSize(63); }, "\\fs4\\fs126"},
        OperationCase{"PlainStyleResetsEverything", [](TRTFWriter& w) { w.SetStyle(0); },
                      "\\b0\\i0\\strike0\\ulnone"},
        OperationCase{"StyleCodes",
                      [](TRTFWriter& w) {
                          for (int code = 1; code <= 10; ++code)
                              w.SetStyle(code);
                      },
                      "\\b\\i\\ul\\b0\\i0\\ulnone\\strike\\strike0\\uldb\\uld"},
        OperationCase{"UnknownStyleAndAlignmentIgnored",
                      [](TRTFWriter& w) { w.SetStyle(11); w.SetStyle(-1); w.SetAlignment(4); w.SetAlignment(-1); },
                      ""},
        OperationCase{"Alignments", [](TRTFWriter& w) { for (int a = 0; a < 4; ++a) w.SetAlignment(a); },
                      "\\ql\\qr\\qc\\qj"},
        OperationCase{"IndentsAreSigned32Bit",
                      [](TRTFWriter& w) { w.SetIndent(0, 240); w.SetIndent(1, -5); w.SetIndent(2, 100000); },
                      "\\li240\\ri-5\\fi100000"},
        OperationCase{"SpacingIsSigned16Bit",
                      [](TRTFWriter& w) { w.SetSpacing(0, 240); w.SetSpacing(1, -1); w.SetSpacing(2, 40000); },
                      "\\sb240\\sa-1\\sl-25536"},
        OperationCase{"ParagraphInFixedOrder",
                      [](TRTFWriter& w) { w.SetParagraph(3, 9, 1, 2, 3, 4, 5, 6); },
                      "\\qj\\fs18\\sb1\\sa2\\sl3\\li4\\ri5\\fi6"},
        OperationCase{"ParagraphSkipsMinusOneAndAlignmentFour",
                      [](TRTFWriter& w) { w.SetParagraph(4, -1, -1, 0, -1, -1, -1, -1); }, "\\sa0"},
        OperationCase{"TextWithLineBreak", [](TRTFWriter& w) { w.WriteText("a\r\nb"); }, " a\\par b"},
        OperationCase{"EmptyText", [](TRTFWriter& w) { w.WriteText(""); }, " "},
        OperationCase{"TextEndingInLineBreak", [](TRTFWriter& w) { w.WriteText("a\r\n"); }, " a\\par "},
        OperationCase{"LoneCarriageReturnOrLineFeedDoesNotSplit", [](TRTFWriter& w) { w.WriteText("a\nb\rc"); },
                      " a\nb\rc"},
        OperationCase{"CellTextPiecesMarkedInTable", [](TRTFWriter& w) { w.WriteCellText("a\r\n\r\nb"); },
                      "\\intbl a\\par\\intbl \\par\\intbl b"},
        OperationCase{"OneBullet", [](TRTFWriter& w) { w.WriteBullets("x"); },
                      "\\fi-240\\li240\\f1 \\tx240 \\'b7\\tab \\f3 x"},
        OperationCase{"EmptyTextStillGetsABullet", [](TRTFWriter& w) { w.WriteBullets(""); },
                      "\\fi-240\\li240\\f1 \\tx240 \\'b7\\tab \\f3 "},
        OperationCase{"BulletPerLine", [](TRTFWriter& w) { w.WriteBullets("a\r\nb"); },
                      "\\fi-240\\li240\\f1 \\tx240 \\'b7\\tab \\f3 a\\par\\f1 \\tx240 \\'b7\\tab \\f3 b"},
        OperationCase{"SimpleWords",
                      [](TRTFWriter& w) {
                          w.Par(); w.PageBreak(); w.BeginFooter(); w.EndFooter(); w.EndCell();
                      },
                      "\\par\\page{\\footer }\\cell"},
        OperationCase{"TableWithoutBorders",
                      [](TRTFWriter& w) { w.BeginTable(2); w.DefineCells(kTwoEdges); w.EndTable(); },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\cellx100\\cellx200"
                      "\\widctlpar\\intbl \\row \\pard \\widctlpar "},
        OperationCase{"SidesFourToSixChangeNothing",
                      [](TRTFWriter& w) {
                          w.BeginTable(2);
                          w.SetBorders(5, 1); w.SetBorders(4, 1); w.SetBorders(6, 1); w.SetCellBorder(1, 5, 1);
                          w.DefineCells(kTwoEdges);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\cellx100\\cellx200"},
        OperationCase{"CellBorderWithoutStyleKeepsWidth",
                      [](TRTFWriter& w) { w.BeginTable(2); w.SetCellBorder(1, 3, 0); w.DefineCells(kTwoEdges); },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\clbrdrb\\brdw15 \\cellx100\\cellx200"},
        OperationCase{"AllSidesInLeftRightTopBottomOrder",
                      [](TRTFWriter& w) {
                          w.BeginTable(1);
                          w.SetBorders(7, 1);
                          w.SetBorders(2, 4);
                          const int edge[] = {500};
                          w.DefineCells(edge);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl"
                      "\\clbrdrl\\brdrs\\brdw15 \\clbrdrr\\brdrs\\brdw15 \\clbrdrt\\brdrdb\\brdw15 "
                      "\\clbrdrb\\brdrs\\brdw15 \\cellx500"},
        OperationCase{"BorderStyleWords",
                      [](TRTFWriter& w) {
                          w.BeginTable(8);
                          for (int cell = 1; cell <= 8; ++cell)
                              w.SetCellBorder(cell, 0, cell == 8 ? 9 : cell);
                          const int edges[] = {1, 2, 3, 4, 5, 6, 7, 8};
                          w.DefineCells(edges);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl"
                      "\\clbrdrl\\brdrs\\brdw15 \\cellx1\\clbrdrl\\brdrth\\brdw15 \\cellx2"
                      "\\clbrdrl\\brdrsh\\brdw15 \\cellx3\\clbrdrl\\brdrdb\\brdw15 \\cellx4"
                      "\\clbrdrl\\brdrdot\\brdw15 \\cellx5\\clbrdrl\\brdrdash\\brdw15 \\cellx6"
                      "\\clbrdrl\\brdrhair\\brdw15 \\cellx7\\clbrdrl\\brdw15 \\cellx8"},
        OperationCase{"BordersSurviveNextRow",
                      [](TRTFWriter& w) {
                          w.BeginTable(1);
                          w.SetBorders(0, 1);
                          w.NextRow();
                          const int edge[] = {500};
                          w.DefineCells(edge);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl"
                      "\\intbl \\row \\trowd \\trgaph108\\trleft-108 \\intbl\\clbrdrl\\brdrs\\brdw15 \\cellx500"},
        OperationCase{"EndTableDiscardsBorders",
                      [](TRTFWriter& w) {
                          const int edge[] = {500};
                          w.BeginTable(1);
                          w.SetBorders(7, 1);
                          w.EndTable();
                          w.BeginTable(1);
                          w.DefineCells(edge);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\widctlpar\\intbl \\row \\pard \\widctlpar "
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\cellx500"},
        // Cells the table was not opened with have no border state; they must not be touched.
        OperationCase{"CellsOutsideTheTableHaveNoBorders",
                      [](TRTFWriter& w) {
                          w.BeginTable(1);
                          w.SetCellBorder(2, 0, 1);
                          w.SetCellBorder(0, 0, 1);
                          w.SetCellBorder(-3, 0, 1);
                          w.SetBorders(0, 1);
                          w.DefineCells(kTwoEdges);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\clbrdrl\\brdrs\\brdw15 \\cellx100\\cellx200"},
        OperationCase{"EveryRowDefinitionFollowsTheBordersAndEdgesOfItsTime",
                      [](TRTFWriter& w) {
                          int edge[] = {500};
                          w.BeginTable(1);
                          w.DefineCells(edge);
                          w.SetBorders(0, 1);
                          w.DefineCells(edge);
                          edge[0] = 600;
                          w.DefineCells(edge);
                          w.SetBorders(0, 0);
                          w.DefineCells(edge);
                          w.BeginTable(1);
                          w.DefineCells(edge);
                      },
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\cellx500\\clbrdrl\\brdrs\\brdw15 \\cellx500"
                      "\\clbrdrl\\brdrs\\brdw15 \\cellx600\\clbrdrl\\brdw15 \\cellx600"
                      "\\trowd \\trgaph108\\trleft-108 \\pard\\intbl\\cellx600"},
        OperationCase{"BordersWithoutOpenTableIgnored",
                      [](TRTFWriter& w) { w.SetBorders(7, 1); w.SetCellBorder(1, 0, 1); w.DefineCells(kTwoEdges); },
                      "\\cellx100\\cellx200"}),
    [](const testing::TestParamInfo<OperationCase>& info) { return std::string(info.param.name); });

TEST(RtfWriter, DocumentFormatWordsWithReportMargins)
{
    TRTFDocFormatting format;
    format.LeftMargin = 1440;
    format.RightMargin = 1440;
    EXPECT_EQ(documentFormatWords(format),
              "\\deftab720\\hyphhotz0\\hyphconsec0\\hyphcaps0\\hyphauto1\\linestart1\\defformat\\deflang1033"
              "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440\\gutter0\\pgnstart1"
              "\\widowctrl \\fet0\\ftnbj\\aendnotes\\ftnstart1\\afnstart1\\ftnnar\\aftnnar");
}

TEST(RtfWriter, DocumentFormatWordsFollowEveryFieldAndIgnoreUnknownCodes)
{
    TRTFDocFormatting format;
    format.HyphenateCapitals = true;
    format.AutoHyphenation = false;
    format.MakeBackup = true;
    format.DefaultFormat = false;
    format.FacingPages = true;
    format.MirroredMargins = true;
    format.Landscape = true;
    format.WidowControl = false;
    format.Gutter = -20;
    format.FootnotePlacement = 1;
    format.EndnotePlacement = 9;
    format.FootnoteNumbering = 4;
    format.EndnoteNumbering = 5;
    EXPECT_EQ(documentFormatWords(format),
              "\\deftab720\\hyphhotz0\\hyphconsec0\\hyphcaps1\\hyphauto0\\linestart1\\makebackup\\deflang1033"
              "\\paperw12240\\paperh15840\\margl1800\\margr1800\\margt1440\\margb1440\\facingp\\gutter-20"
              "\\margmirror\\landscape\\pgnstart1 \\fet0\\enddoc\\ftnstart1\\afnstart1\\ftnnruc");
}

// The literal operations escape as they copy. Wherever the byte to escape or the line break falls
// in a long text (texts are scanned in blocks), they write what the plain operations write for
// the escaped text.
TEST(RtfWriter, LiteralTextIsTheEscapedTextWhereverItsSpecialBytesFall)
{
    using Write = void (TRTFWriter::*)(std::string_view);
    const std::pair<Write, Write> operations[] = {{&TRTFWriter::WriteLiteralText, &TRTFWriter::WriteText},
                                                  {&TRTFWriter::WriteLiteralCellText, &TRTFWriter::WriteCellText},
                                                  {&TRTFWriter::WriteLiteralBullets, &TRTFWriter::WriteBullets}};
    for (const std::string_view special : {"\\", "{", "}", "\r\n", "\r", "\n", "\r\r\n", "}\\{"}) {
        for (std::size_t at = 0; at <= 40; ++at) {
            std::string text = std::string("caf\xE9 ") + std::string(35, 'x');
            text.insert(at, special);
            SCOPED_TRACE(testing::Message() << "at " << at << ": " << testing::PrintToString(text));
            for (const auto& [literal, plain] : operations)
                EXPECT_EQ(bodyOf([&](TRTFWriter& w) { (w.*literal)(text); }),
                          bodyOf([&](TRTFWriter& w) { (w.*plain)(escapeRtf(text)); }));
        }
    }
}

TEST(RtfWriter, FontTableListsUsedFontsInSlotOrder)
{
    TRTFWriter writer;
    writer.NewDocument();
    writer.SetFont("Times New Roman");
    writer.SetFont("Symbol");
    writer.SetFont("Times New Roman");
    writer.BuildDocument();
    EXPECT_EQ(writer.Body().substr(0, 11), "{\\rtf1\\ansi");
    EXPECT_EQ(writer.Body().substr(11, writer.Body().find("\\deftab") - 11),
              "{\\fonttbl{\\f1\\froman\\fcharset2\\fprq2 Symbol}{\\f3\\froman\\fcharset0\\fprq2 Times New Roman}}");
}

TEST(RtfWriter, EveryStandardFontHasItsSlotFamilyAndCharset)
{
    TRTFWriter writer;
    writer.NewDocument();
    for (const char* name : {"Times New Roman CE", "Courier New CE", "Arial CE", "Courier New", "Arial", "Courier"})
        writer.SetFont(name);
    EXPECT_EQ(writer.Body(), "\\f8\\f7\\f6\\f5\\f4\\f2");
    writer.BuildDocument();
    EXPECT_NE(writer.Body().find("{\\fonttbl{\\f2\\fmodern\\fcharset0\\fprq2 Courier}"
                                 "{\\f4\\fswiss\\fcharset0\\fprq2 Arial}{\\f5\\fmodern\\fcharset0\\fprq2 Courier New}"
                                 "{\\f6\\fswiss\\fcharset238\\fprq2 Arial CE}"
                                 "{\\f7\\fmodern\\fcharset238\\fprq2 Courier New CE}"
                                 "{\\f8\\froman\\fcharset238\\fprq2 Times New Roman CE}}"),
              std::string::npos);
}

TEST(RtfWriter, UnknownFontWarnsAndWritesNothing)
{
    WarningLog log;
    TRTFWriter writer(log.handler());
    writer.NewDocument();
    writer.SetFont("arial"); // names compare case-sensitively
    writer.SetFont("");      // empty slots are not fonts
    writer.SetFont("Wingdings");
    EXPECT_EQ(writer.Body(), "");
    EXPECT_EQ(log.messages, (std::vector<std::string>{"Invalid font name.", "Invalid font name.",
                                                      "Invalid font name."}));
    writer.BuildDocument();
    EXPECT_NE(writer.Body().find("{\\fonttbl}"), std::string::npos);
}

TEST(RtfWriter, BuildDocumentWrapsBodyWithHeaderAndClosingBrace)
{
    TRTFWriter writer;
    writer.NewDocument();
    writer.DocFormat().LeftMargin = 1440;
    writer.DocFormat().RightMargin = 1440;
    writer.SetFont("Times New Roman");
    writer.WriteText("x");
    writer.BuildDocument();
    TRTFDocFormatting margins;
    margins.LeftMargin = 1440;
    margins.RightMargin = 1440;
    EXPECT_EQ(writer.Body(), "{\\rtf1\\ansi{\\fonttbl{\\f3\\froman\\fcharset0\\fprq2 Times New Roman}}" +
                                 documentFormatWords(margins) + "\\f3 x}");
}

TEST(RtfWriter, NewDocumentForgetsFontsAndFormatOfThePreviousOne)
{
    TRTFWriter writer;
    writer.NewDocument();
    writer.DocFormat().Landscape = true;
    writer.SetFont("Arial");
    writer.BuildDocument();
    writer.NewDocument();
    writer.SetFont("Courier");
    writer.BuildDocument();
    EXPECT_EQ(writer.Body(), "{\\rtf1\\ansi{\\fonttbl{\\f2\\fmodern\\fcharset0\\fprq2 Courier}}" +
                                 documentFormatWords(TRTFDocFormatting{}) + "\\f2}");
}

TEST(RtfWriter, SaveToFileWritesTheBodyExactly)
{
    testing_support::TempDir dir;
    TRTFWriter writer;
    writer.NewDocument();
    writer.WriteText(std::string("caf\xE9\r\nend", 9));
    writer.BuildDocument();
    const std::string path = dir.file("out.rtf");
    EXPECT_EQ(writer.SaveToFile(path), std::nullopt);
    EXPECT_EQ(testing_support::readFile(path), writer.Body());
}

TEST(RtfWriter, SaveToFileReportsFailureAndLeavesNothing)
{
    testing_support::TempDir dir;
    TRTFWriter writer;
    writer.NewDocument();
    writer.BuildDocument();
    const std::string before = writer.Body();
    const auto error = writer.SaveToFile(dir.file("missing/out.rtf"));
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("missing/out.rtf"), std::string::npos) << *error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
    EXPECT_EQ(writer.Body(), before);
}

} // namespace
