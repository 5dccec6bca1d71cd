#pragma once

// The questions an edit may have to ask the user, as the model operations see them. The shell
// answers them with its message boxes and the shared "Add/Modify Item?" dialog; tests answer them
// with scripted replies, so every operation runs without a window.
//
// Texts are model text (windows-1252), like the names they quote.

#include <string>
#include <string_view>

enum class AddOrRename { Add, Rename, Cancel };

class Questions {
public:
    virtual ~Questions() = default;

    // A Yes/No question captioned with the program's name; true only for Yes.
    virtual bool confirm(const std::string& text) = 0;
    // The add-or-rename question; the rename choice is offered only when `renameAllowed`.
    virtual AddOrRename askAddOrRename(bool renameAllowed) = 0;
};

// `format` with its one "%s" replaced by `name`, taken literally (a "%" in a name is not a format).
std::string formatWithName(std::string_view format, std::string_view name);

// Asks the delete question `format` ("Delete change '%s'?") about `name`; true for Yes.
bool confirmDelete(Questions& ask, std::string_view format, std::string_view name);
