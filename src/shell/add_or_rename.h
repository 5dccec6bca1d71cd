#pragma once

// The add-or-rename protocol of a naming combo box: the text typed into the box either names an
// existing entry (selected without a question) or, after the shared "Add/Modify Item?" question,
// becomes a new entry or the new name of the current one.

#include <QString>

#include <functional>

class QComboBox;

// How the caller's model list changes. Both are called after the undo snapshot was taken.
struct NamedListEdit {
    std::function<void()> saveUndoState;
    // Appends an entry named `name` to the model list.
    std::function<void(const QString& name)> append;
    // Renames the model entry at `index`.
    std::function<void(int index, const QString& name)> rename;
};

struct TypedNameResult {
    enum class Outcome {
        Selected,  // the text named an entry (or was empty): nothing changed, no question
        Added,     // a new entry was appended
        Renamed,   // the current entry was renamed
        Cancelled, // the question was cancelled: nothing changed
    };
    Outcome outcome = Outcome::Selected;
    // The entry selected in the box afterwards, -1 for none.
    int index = -1;

    // After Added or Renamed the caller sets Modified and refreshes what depends on the list.
    bool changed() const { return outcome == Outcome::Added || outcome == Outcome::Renamed; }
};

// Runs the protocol for the text in `box`, whose insert policy must be QComboBox::NoInsert so that
// Enter does not add the text behind the protocol's back. `current` is the entry selected before
// the user typed (-1 for none); renaming is offered only when there is one. The box's list and
// selection are updated with the updating switch on, so the box's own change handlers stay quiet;
// the caller applies the resulting selection as its window requires.
TypedNameResult commitTypedName(QComboBox& box, int current, const NamedListEdit& edit);

// Index of the entry whose text equals `text` ignoring letter case, or -1.
int findNameIgnoringCase(const QComboBox& box, const QString& text);
