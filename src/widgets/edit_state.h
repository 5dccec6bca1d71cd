#pragma once

// The editing state of a window: its updating switch and its pending cell edit. Each window keeps
// its own, so that one window filling its controls never silences another, and the controls inside
// a window find it by walking up to the window. GUI thread only.

#include <QString>

class QObject;
class QWidget;

// The last cell edited in a grid of the window and not yet written to the model.
struct PendingCellEdit {
    int col = -1;
    int row = -1;
    QString text;
    QObject* grid = nullptr; // the grid that recorded it

    bool pending() const { return col >= 0 && row >= 0; }
    void clear() { *this = PendingCellEdit{}; }
};

struct WindowEditState {
    // On while the window reloads its controls from the model; change handlers do nothing then.
    bool updating = false;
    PendingCellEdit pendingCellEdit;
};

// A window that keeps the editing state of the controls inside it. A control in no such window
// shares one state with the rest of its top-level window.
class EditStateWindow {
public:
    virtual ~EditStateWindow() = default;
    WindowEditState& editState() { return editState_; }
    const WindowEditState& editState() const { return editState_; }

private:
    WindowEditState editState_;
};

namespace protocol {

// The state of the window `widget` is in (or is).
WindowEditState& editStateOf(const QWidget* widget);

// Whether the window of `widget` is filling its controls; false for no widget.
bool updating(const QWidget* widget);

PendingCellEdit& pendingCellEdit(const QWidget* widget);

// Clears the pending edit of the window of `grid` when `grid` recorded it. Safe while the grid or
// its window is being destroyed: it creates nothing.
void forgetPendingEditOf(const QWidget* grid);

// Turns the updating switch of the window of `widget` on for its lifetime and restores the
// previous state afterwards, so nested refreshes keep it on until the outermost one ends.
class UpdatingGuard {
public:
    explicit UpdatingGuard(const QWidget* widget) : state_(editStateOf(widget)), previous_(state_.updating)
    {
        state_.updating = true;
    }
    ~UpdatingGuard() { state_.updating = previous_; }
    UpdatingGuard(const UpdatingGuard&) = delete;
    UpdatingGuard& operator=(const UpdatingGuard&) = delete;

private:
    WindowEditState& state_;
    bool previous_;
};

} // namespace protocol
