#include "shell/add_or_rename.h"

#include "shell/prompts.h"
#include "shell/protocol_state.h"

#include <QComboBox>

int findNameIgnoringCase(const QComboBox& box, const QString& text)
{
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TypedNameResult commitTypedName(QComboBox& box, int current, const NamedListEdit& edit)
{
    using Outcome = TypedNameResult::Outcome;
    const QString typed = box.currentText();
    protocol::UpdatingGuard quiet;

    const int match = typed.isEmpty() ? -1 : findNameIgnoringCase(box, typed);
    if (match >= 0 || typed.isEmpty()) {
        box.setCurrentIndex(match);
        return {Outcome::Selected, match};
    }

    const bool canRename = current >= 0 && current < box.count();
    switch (prompts().askAddOrModify(canRename)) {
    case AddModAnswer::Add: {
        edit.saveUndoState();
        edit.append(typed);
        box.addItem(typed);
        const int added = box.count() - 1;
        box.setCurrentIndex(added);
        return {Outcome::Added, added};
    }
    case AddModAnswer::Rename:
        if (canRename) {
            edit.saveUndoState();
            edit.rename(current, typed);
            box.setItemText(current, typed);
            box.setCurrentIndex(current);
            box.setEditText(typed);
            return {Outcome::Renamed, current};
        }
        break;
    case AddModAnswer::Cancelled:
        break;
    }
    box.setCurrentIndex(canRename ? current : -1);
    if (canRename)
        box.setEditText(box.itemText(current));
    return {Outcome::Cancelled, canRename ? current : -1};
}
