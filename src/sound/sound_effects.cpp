#include "sound/sound_effects.h"

// Placeholder until the sound effects are built: the game runs silent.
bool StartSoundEffects() { return true; }
