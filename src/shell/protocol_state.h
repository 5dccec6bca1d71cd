#pragma once

// State of the workshop window protocol beyond the editing state of widgets/edit_state.h. GUI
// thread only, like every message of the protocol.

#include "widgets/edit_state.h"

namespace protocol {

// Set by the window that answers an open-workshop request.
bool& foundAnswer();

} // namespace protocol
