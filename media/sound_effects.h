// The seven sound effects of the game, read from WAV files at start-up and
// played on game events. Without a sound device every effect is silent.
#pragma once

#include <cstdint>

int InitSoundEffects();
void ReleaseSoundEffects();

void PlaySoundWurf();      // a piece was dropped
void PlaySoundReihen();    // one row (or two or three alone)
void PlaySoundVierer();    // four rows at once
void PlaySoundGameOver();
void PlaySoundStart();     // a match begins
void PlaySoundLach();      // two or three rows against the other player
void PlaySoundTschau();    // four rows against the other player
