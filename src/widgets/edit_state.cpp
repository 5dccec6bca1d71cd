#include "widgets/edit_state.h"

namespace protocol {

bool& updating()
{
    static bool value = false;
    return value;
}

PendingCellEdit& pendingCellEdit()
{
    static PendingCellEdit value;
    return value;
}

} // namespace protocol
