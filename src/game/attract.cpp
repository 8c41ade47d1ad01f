#include "game/attract.h"

#include "shell/log.h"

// Placeholder until the attract and stake screens are built: sells no game, so the program
// ends in the orderly way as soon as the attract screen would show.
bool WaitForStart() {
    Trace("WaitForStart...\n");
    return false;
}
