#include "model/case_edit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/case_data.h"
#include "model/case_file.h"
#include "model/typed_name.h"
#include "test_support.h"

using testing_support::ScriptedQuestions;

namespace {

class CaseEditTest : public ::testing::Test {
protected:
    CaseEditTest() { data.Modified = false; }
    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
};

} // namespace

TEST_F(CaseEditTest, AnEditTakesOneSnapshotAndSetsModified)
{
    std::vector<bool> heard;
    edit.setUndoObserver([&](bool available) { heard.push_back(available); });
    EXPECT_TRUE(edit.set(data.Title, "Plan"));
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 1);
    data.Modified = false; // saved
    EXPECT_TRUE(edit.undo());
    EXPECT_EQ(data.Title, "");
    EXPECT_TRUE(data.Modified) << "the case differs from what was saved";
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    data.Modified = false;
    EXPECT_FALSE(edit.undo());
    EXPECT_FALSE(data.Modified) << "an undo with nothing to restore changes nothing";
}

// The change hook hears every change of the case and nothing else: an edit that changes nothing,
// an Undo or Redo with nothing to bring back and an edit of a throw-away copy are silent.
TEST_F(CaseEditTest, TheChangeHookHearsEveryChangeAndNoLook)
{
    int heard = 0;
    edit.setChangeObserver([&] { ++heard; });
    EXPECT_FALSE(edit.set(data.Title, ""));
    EXPECT_FALSE(edit.redo());
    EXPECT_EQ(heard, 0);
    EXPECT_TRUE(edit.set(data.Title, "Plan"));
    const int perEdit = heard;
    EXPECT_GT(perEdit, 0);
    EXPECT_TRUE(edit.undo());
    EXPECT_GT(heard, perEdit) << "Undo";
    const int afterUndo = heard;
    EXPECT_TRUE(edit.redo());
    EXPECT_GT(heard, afterUndo) << "Redo";
    const int afterRedo = heard;
    edit.changeWithoutStep();
    EXPECT_GT(heard, afterRedo) << "a change without a step";
    EXPECT_EQ(static_cast<std::uint64_t>(heard), edit.changeCount());
}

TEST_F(CaseEditTest, SettingTheValueAFieldHoldsIsNoStep)
{
    data.Title = "Plan";
    data.DateFrom = std::nan("");
    int32_t share = 5;
    bool done = true;
    EXPECT_FALSE(edit.set(data.Title, "Plan"));
    EXPECT_FALSE(edit.set(data.DateFrom, data.DateFrom)) << "a NaN read from a file is not rewritten on every look";
    EXPECT_FALSE(edit.set(share, 5));
    EXPECT_FALSE(edit.set(done, true));
    EXPECT_FALSE(edit.beginIf(false));
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(undo.count(), 0);
    EXPECT_TRUE(edit.set(share, 6));
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(CaseEditTest, ChangeCountGrowsWithEveryStepAndOnlyThen)
{
    const auto start = edit.changeCount();
    EXPECT_FALSE(edit.set(data.Title, ""));
    EXPECT_FALSE(edit.undo()) << "nothing to undo";
    EXPECT_EQ(edit.changeCount(), start) << "looking and an empty undo change nothing";

    std::uint64_t last = start;
    const auto grew = [&] {
        const bool result = edit.changeCount() > last;
        last = edit.changeCount();
        return result;
    };
    EXPECT_TRUE(edit.set(data.Title, "Plan") && grew());
    edit.snapshot();
    EXPECT_TRUE(grew()) << "a snapshot precedes a change";
    edit.setModified();
    EXPECT_TRUE(grew()) << "a sort that only marks the case modified";
    EXPECT_TRUE(edit.undo() && grew()) << "undo changes the case back";
    EXPECT_TRUE(edit.beginIf(true) && grew());
}

TEST_F(CaseEditTest, RedoBringsBackWhatUndoTookBackUntilTheNextChange)
{
    std::vector<bool> heard;
    edit.setRedoObserver([&](bool available) { heard.push_back(available); });
    for (int step = 1; step <= 11; ++step)
        edit.set(data.Title, "step " + std::to_string(step));
    const std::string edited = encodeCase(data);
    while (edit.undo()) {
    }
    EXPECT_EQ(undo.redoCount(), UndoStack::kMaxSnapshots);
    data.Modified = false;
    EXPECT_TRUE(edit.redo());
    EXPECT_EQ(data.Title, "step 2");
    EXPECT_TRUE(data.Modified) << "a redone step is a change since the last save";
    while (edit.redo()) {
    }
    EXPECT_EQ(encodeCase(data), edited);
    EXPECT_EQ(undo.count(), UndoStack::kMaxSnapshots);

    // Any change after an Undo drops the redo steps, a snapshot or a sort that takes none.
    ASSERT_TRUE(edit.undo());
    edit.set(data.Title, "other");
    EXPECT_FALSE(edit.redo());
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(undo.redoCount(), 1);
    edit.changeWithoutStep();
    EXPECT_FALSE(edit.redo());
    EXPECT_EQ(data.Title, "step 10");
    EXPECT_FALSE(heard.back());
}

TEST(Questions, NamesAreQuotedLiterally)
{
    EXPECT_EQ(formatWithName("Delete change '%s'?", "100%s sure"), "Delete change '100%s sure'?");
    EXPECT_EQ(formatWithName("no placeholder", "x"), "no placeholder");
}

class TypedNameTest : public CaseEditTest {
protected:
    std::vector<std::string> types{"Culture", "Capabilities/Skills", "Image"};
    ScriptedQuestions ask{ScriptedQuestions::Reply::No};
};

TEST_F(TypedNameTest, ANameInOtherLetterCaseSelectsTheEntryWithoutAQuestion)
{
    const auto result = commitTypedName(edit, types, "image", 0, ask);
    EXPECT_EQ(result.outcome, TypedNameResult::Outcome::Selected);
    EXPECT_EQ(result.index, 2);
    EXPECT_TRUE(ask.renameOffered.empty());
    EXPECT_EQ(undo.count(), 0);

    const auto empty = commitTypedName(edit, types, "", 1, ask);
    EXPECT_EQ(empty.outcome, TypedNameResult::Outcome::Selected);
    EXPECT_EQ(empty.index, -1);
}

TEST_F(TypedNameTest, AddAppendsAsOneEditAndSelectsTheNewEntry)
{
    ask.answers = {AddOrRename::Add};
    const auto result = commitTypedName(edit, types, "Growth", -1, ask);
    EXPECT_EQ(result.outcome, TypedNameResult::Outcome::Added);
    EXPECT_EQ(result.index, 3);
    EXPECT_EQ(types.back(), "Growth");
    EXPECT_EQ(ask.renameOffered, (std::vector<bool>{false}));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

TEST_F(TypedNameTest, RenameNeedsACurrentEntryAndCancelChangesNothing)
{
    ask.answers = {AddOrRename::Rename, AddOrRename::Rename, AddOrRename::Cancel};
    const auto renamed = commitTypedName(edit, types, "People", 0, ask);
    EXPECT_EQ(renamed.outcome, TypedNameResult::Outcome::Renamed);
    EXPECT_EQ(types[0], "People");

    // Without a current entry the rename answer cannot happen; treated as a cancel.
    const auto refused = commitTypedName(edit, types, "Other", -1, ask);
    EXPECT_EQ(refused.outcome, TypedNameResult::Outcome::Cancelled);
    EXPECT_EQ(refused.index, -1);

    const auto cancelled = commitTypedName(edit, types, "Other", 2, ask);
    EXPECT_EQ(cancelled.outcome, TypedNameResult::Outcome::Cancelled);
    EXPECT_EQ(cancelled.index, 2);
    EXPECT_EQ(types.size(), 3u);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_EQ(ask.renameOffered, (std::vector<bool>{true, false, true}));
}
