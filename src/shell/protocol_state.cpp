#include "shell/protocol_state.h"

namespace protocol {

bool& foundAnswer()
{
    static bool value = false;
    return value;
}

} // namespace protocol
