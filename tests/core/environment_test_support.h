#pragma once

// Shared by the tests of the environment workshop's operations: a case with an undo stack whose
// questions are answered from a script.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/questions.h"
#include "test_support.h"

namespace testing_support {

// A fresh case (three areas, two risk types) that is not yet modified and has no undo step.
class EnvironmentCase : public ::testing::Test {
protected:
    EnvironmentCase() { data.Modified = false; }

    // An area with the given changes; each change gets risks named "<change>.r<k>".
    TChangeArea& addArea(const std::string& name, std::initializer_list<const char*> changes = {})
    {
        TChangeArea& area = data.ChangeAreas.Add();
        area.Name = name;
        for (const char* change : changes)
            area.Changes.Add().Name = change;
        return area;
    }

    // No undo step and not modified: the operation only looked.
    void expectUntouched() const
    {
        EXPECT_EQ(undo.count(), 0);
        EXPECT_FALSE(data.Modified);
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask;
};

} // namespace testing_support
