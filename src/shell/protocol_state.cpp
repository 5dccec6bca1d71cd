#include "shell/protocol_state.h"

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

bool& foundAnswer()
{
    static bool value = false;
    return value;
}

} // namespace protocol
