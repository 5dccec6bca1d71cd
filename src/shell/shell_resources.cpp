#include "shell/shell_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must not be used inside a namespace.
static void initShellQrc()
{
    Q_INIT_RESOURCE(shell);
}

void initShellResources()
{
    static const bool done = [] {
        initShellQrc();
        return true;
    }();
    (void)done;
}
