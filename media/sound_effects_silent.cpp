// Silent effects until the mixer exists.
#include "media/sound_effects.h"

int InitSoundEffects() { return 0; }
void ReleaseSoundEffects() {}
void PlaySoundWurf() {}
void PlaySoundReihen() {}
void PlaySoundVierer() {}
void PlaySoundGameOver() {}
void PlaySoundStart() {}
void PlaySoundLach() {}
void PlaySoundTschau() {}
