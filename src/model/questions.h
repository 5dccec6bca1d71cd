#pragma once

// The questions an edit may have to ask the user, as the model operations see them. The shell
// answers them with its message boxes and the shared "Add/Modify Item?" dialog; tests answer them
// with scripted replies, so every operation runs without a window.
//
// A question is an untranslated key (model/core_text.h, context "Questions") and the name it
// quotes, model text (windows-1252).

#include <string_view>

#include "model/core_text.h"

enum class AddOrRename { Add, Rename, Cancel };

class Questions {
public:
    virtual ~Questions() = default;

    // A Yes/No question captioned with the program's name; true only for Yes.
    virtual bool confirm(const CoreMessage& question) = 0;
    // The add-or-rename question; the rename choice is offered only when `renameAllowed`.
    virtual AddOrRename askAddOrRename(bool renameAllowed) = 0;
};

// Asks the delete question `format` ("Delete change '%s'?") about `name`; true for Yes.
bool confirmDelete(Questions& ask, const char* format, std::string_view name);
