#pragma once

// The add-or-rename protocol on a naming combo box: the core decides (model/typed_name.h), this
// adapter feeds it the box's text and entries and then shows the outcome in the box.

#include "model/typed_name.h"

class CaseEdit;
class QComboBox;
class QString;

// Runs the protocol for the text in `box`, whose insert policy must be QComboBox::NoInsert so that
// Enter does not add the text behind the protocol's back. `current` is the entry selected before
// the user typed (-1 for none); renaming is offered only when there is one. `change` alters the
// caller's model list inside an edit that has already taken its undo snapshot and set Modified.
//
// Only the box's own list and selection are changed with the updating switch on (so the box's
// change handlers stay quiet); the question and the caller's callbacks run with it off. The caller
// applies the resulting selection as its window requires.
TypedNameResult commitTypedName(QComboBox& box, int current, CaseEdit& edit, Questions& ask,
                                const NamedListChange& change);

// Index of the entry whose text equals `text` ignoring letter case, or -1.
int findNameIgnoringCase(const QComboBox& box, const QString& text);
