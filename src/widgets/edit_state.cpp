#include "widgets/edit_state.h"

#include <QObject>
#include <QWidget>

namespace {

// The state of a top-level window that is no EditStateWindow (a dialog, a control on its own).
class DetachedEditState : public QObject {
public:
    explicit DetachedEditState(QObject* parent) : QObject(parent) {}
    WindowEditState state;
};

// The window's own state, or the detached state of the top-level widget when there is one; null
// otherwise. `top` gets the top-level widget. A window being destroyed no longer counts as one.
WindowEditState* findEditState(const QWidget* widget, const QWidget** top)
{
    for (const QWidget* up = widget; up; up = up->parentWidget()) {
        if (auto* window = dynamic_cast<const EditStateWindow*>(up))
            return &const_cast<EditStateWindow*>(window)->editState();
        *top = up;
    }
    for (QObject* child : (*top)->children())
        if (auto* detached = dynamic_cast<DetachedEditState*>(child))
            return &detached->state;
    return nullptr;
}

} // namespace

namespace protocol {

WindowEditState& editStateOf(const QWidget* widget)
{
    Q_ASSERT(widget);
    const QWidget* top = widget;
    if (WindowEditState* state = findEditState(widget, &top))
        return *state;
    return (new DetachedEditState(const_cast<QWidget*>(top)))->state;
}

bool updating(const QWidget* widget)
{
    const QWidget* top = widget;
    const WindowEditState* state = widget ? findEditState(widget, &top) : nullptr;
    return state && state->updating;
}

PendingCellEdit& pendingCellEdit(const QWidget* widget)
{
    return editStateOf(widget).pendingCellEdit;
}

void forgetPendingEditOf(const QWidget* grid)
{
    const QWidget* top = grid;
    if (WindowEditState* state = findEditState(grid, &top); state && state->pendingCellEdit.grid == grid)
        state->pendingCellEdit.clear();
}

} // namespace protocol
