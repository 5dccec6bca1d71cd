#pragma once

// The add-or-rename protocol of every box that names model entries (objective types, areas,
// megatrends, changes, risk types). The text typed into the box either names an existing entry,
// compared ignoring letter case, and is selected without a question, or the user is asked whether
// to add an entry with that name or to rename the current one.
//
// Names are taken as typed: not trimmed, and not checked for duplicates beyond the lookup, so a
// rename can never produce a name that differs from another only in letter case.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/questions.h"

class CaseEdit;

// Position of the first of `names` equal to `text` ignoring letter case, or -1.
int findNameIgnoringCase(const std::vector<std::string>& names, std::string_view text);

struct TypedNameResult {
    enum class Outcome {
        Selected,  // the text named an entry, or was empty: nothing changed, no question
        Added,     // a new entry was appended
        Renamed,   // the current entry was renamed
        Cancelled, // the question was cancelled: nothing changed
    };
    Outcome outcome = Outcome::Selected;
    // The entry to select afterwards: the match (-1 for none), the new entry, the renamed one, or
    // the previously current one after Cancel (-1 when there was none).
    int index = -1;

    bool changed() const { return outcome == Outcome::Added || outcome == Outcome::Renamed; }
};

// How the caller's model list changes. Each runs inside an edit that already took its undo
// snapshot and set Modified.
struct NamedListChange {
    std::function<void(std::string_view name)> append;
    std::function<void(int index, std::string_view name)> rename;
};

// Runs the protocol for `typed` against `names` (the entries as the box lists them). `current` is
// the entry selected before the user typed, -1 for none; rename is offered only when there is one.
TypedNameResult commitTypedName(CaseEdit& edit, const std::vector<std::string>& names, std::string_view typed,
                                int current, Questions& ask, const NamedListChange& change);

// The same for a plain list of names held in the model (ObjectiveTypes, RiskTypes, Megatrends).
TypedNameResult commitTypedName(CaseEdit& edit, std::vector<std::string>& list, std::string_view typed, int current,
                                Questions& ask);
