#pragma once

// The editing state of the workshop window protocol: each window's updating switch and pending
// cell edit (widgets/edit_state.h). GUI thread only, like every message of the protocol.

#include "widgets/edit_state.h"
