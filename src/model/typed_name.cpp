#include "model/typed_name.h"

#include "model/case_edit.h"
#include "model/quick_sort.h"

int findNameIgnoringCase(const std::vector<std::string>& names, std::string_view text)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (compareText(names[i], text) == 0)
            return static_cast<int>(i);
    return -1;
}

TypedNameResult commitTypedName(CaseEdit& edit, const std::vector<std::string>& names, std::string_view typed,
                                int current, Questions& ask, const NamedListChange& change)
{
    using Outcome = TypedNameResult::Outcome;
    const int match = typed.empty() ? -1 : findNameIgnoringCase(names, typed);
    if (match >= 0 || typed.empty())
        return {Outcome::Selected, match};

    const bool canRename = current >= 0 && current < static_cast<int>(names.size());
    switch (ask.askAddOrRename(canRename)) {
    case AddOrRename::Add: {
        // Taken first: `names` may be the very list the new entry is appended to.
        const int added = static_cast<int>(names.size());
        edit.begin();
        change.append(typed);
        return {Outcome::Added, added};
    }
    case AddOrRename::Rename:
        if (!canRename)
            break;
        edit.begin();
        change.rename(current, typed);
        return {Outcome::Renamed, current};
    case AddOrRename::Cancel:
        break;
    }
    return {Outcome::Cancelled, canRename ? current : -1};
}

TypedNameResult commitTypedName(CaseEdit& edit, std::vector<std::string>& list, std::string_view typed, int current,
                                Questions& ask)
{
    return commitTypedName(edit, list, typed, current, ask,
                           {[&](std::string_view name) { list.emplace_back(name); },
                            [&](int index, std::string_view name) {
                                list[static_cast<std::size_t>(index)].assign(name);
                            }});
}
