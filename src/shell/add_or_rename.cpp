#include "shell/add_or_rename.h"

#include "shell/protocol_state.h"
#include "widgets/text_convert.h"

#include <QComboBox>

int findNameIgnoringCase(const QComboBox& box, const QString& text)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(box.count()));
    for (int i = 0; i < box.count(); ++i)
        names.push_back(toModel(box.itemText(i)));
    return findNameIgnoringCase(names, toModel(text));
}

TypedNameResult commitTypedName(QComboBox& box, int current, CaseEdit& edit, Questions& ask,
                                const NamedListChange& change)
{
    using Outcome = TypedNameResult::Outcome;
    const QString typed = box.currentText();
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(box.count()));
    for (int i = 0; i < box.count(); ++i)
        names.push_back(toModel(box.itemText(i)));

    const TypedNameResult result = commitTypedName(edit, names, toModel(typed), current, ask, change);

    protocol::UpdatingGuard quiet(&box);
    switch (result.outcome) {
    case Outcome::Selected:
        box.setCurrentIndex(result.index);
        break;
    case Outcome::Added:
        box.addItem(typed);
        box.setCurrentIndex(result.index);
        break;
    case Outcome::Renamed:
        box.setItemText(result.index, typed);
        box.setCurrentIndex(result.index);
        box.setEditText(typed);
        break;
    case Outcome::Cancelled:
        box.setCurrentIndex(result.index);
        if (result.index >= 0)
            box.setEditText(box.itemText(result.index));
        break;
    }
    return result;
}
