#pragma once

// Registers the shell's icons and help pages. The shell is a static library, so its resources are
// kept by the linker only when something calls this.
void initShellResources();
