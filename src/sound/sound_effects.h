// The numbered sound effects, 1 to 46.
#pragma once

// Creates the sound-effects object and opens the audio device (a missing device leaves the game
// silent). False only when the object cannot be created.
bool StartSoundEffects();
