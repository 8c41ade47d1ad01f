// A new run of the game in this process starts from exactly the state a freshly started program
// has: every layer's module state is put back, from the modelled player at the top to the input,
// the timers and the random generator at the bottom. The platform itself (clock, window, script,
// trace) is started and stopped by its own calls; loaded content stays where it belongs (the
// question packs' counts, the background music file), everything drawn or decoded is released.
#pragma once

// Stops the modelled player, forgets every screen's, rule's and engine's state, closes the credit
// link and the log and stops the display. RunVantor starts with it; so does every test run.
void ResetForNewRun();
