#pragma once

// Shared setup of the customer and product workshop tests: a case with its undo stack and
// scripted answers to the delete questions.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/questions.h"
#include "test_support.h"
#include "workshops/customers/cust_prod_ops.h"

namespace testing_support {

class CustProdTest : public ::testing::Test {
protected:
    CustProdTest() { data.Modified = false; }

    TDelList<TCustProd>& list(cust_prod::Mode mode) { return cust_prod::items(data, mode); }

    // Appends plain entries, outside any edit.
    void addPlain(cust_prod::Mode mode, std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            list(mode).Add().Name = name;
    }

    void makeGroup(cust_prod::Mode mode, int group, std::initializer_list<int> members)
    {
        auto& entry = list(mode)[group];
        entry.Members = std::make_unique<TDelList<TInteger>>();
        for (int member : members)
            entry.Members->Add().Value = member;
    }

    std::vector<int> members(cust_prod::Mode mode, int group)
    {
        std::vector<int> values;
        if (list(mode)[group].Members)
            for (const auto& member : *list(mode)[group].Members)
                values.push_back(member.Value);
        return values;
    }

    std::vector<std::string> names(cust_prod::Mode mode)
    {
        std::vector<std::string> result;
        for (const auto& item : list(mode))
            result.push_back(item.Name);
        return result;
    }

    // Marks the case saved and forgets the undo steps, so a test sees only its own.
    void settle()
    {
        data.Modified = false;
        while (undo.restore(scratch)) {
        }
    }

    TCaseData data;
    TCaseData scratch;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask;
};

} // namespace testing_support
