#pragma once

// Program-wide editing state shared by every workshop window and grid. Used only on the GUI thread,
// where every message is delivered synchronously, which is what makes plain globals safe here.

#include <QString>

class QObject;

// The last cell edited in any workshop grid and not yet written to the model.
struct PendingCellEdit {
    int col = -1;
    int row = -1;
    QString text;
    QObject* grid = nullptr; // the grid that recorded it

    bool pending() const { return col >= 0 && row >= 0; }
    void clear() { *this = PendingCellEdit{}; }
};

namespace protocol {

// On while a window reloads its controls from the model; change handlers do nothing while it is on.
bool& updating();

PendingCellEdit& pendingCellEdit();

// Turns the updating switch on for its lifetime and restores the previous state afterwards, so
// nested refreshes keep it on until the outermost one ends.
class UpdatingGuard {
public:
    UpdatingGuard() : previous_(updating()) { updating() = true; }
    ~UpdatingGuard() { updating() = previous_; }
    UpdatingGuard(const UpdatingGuard&) = delete;
    UpdatingGuard& operator=(const UpdatingGuard&) = delete;

private:
    bool previous_;
};

} // namespace protocol
