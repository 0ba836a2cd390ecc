// The seven sound effects of the game, read from WAV files at start-up and
// played on game events. Without a sound device every effect is silent.
#pragma once

#include <cstdint>

#include "media/mixer.h"

int InitSoundEffects();
void ReleaseSoundEffects();

void PlaySoundWurf();      // a piece was dropped
void PlaySoundReihen();    // one row (or two or three alone)
void PlaySoundVierer();    // four rows at once
void PlaySoundGameOver();
void PlaySoundStart();     // a match begins
void PlaySoundLach();      // two or three rows against the other player
void PlaySoundTschau();    // four rows against the other player

// Hears every play call, with the effect's file name ("WURF.WAV"), whether
// or not the effect can sound: tests watch the game's effects through it.
// Null (the default) hears nothing.
using EffectListener = void (*)(const char* fileName);
void SetEffectListener(EffectListener listener);

// ---- the steps of InitSoundEffects, for tests and tools ----

// The effects in their fixed order (WURF, REIHEN, VIERER, GAMEOVER, START,
// LACH, TSCHAU); null where an effect is silent.
extern EffectBuffer* soundEffects[kEffectSlots];

// Opens the sound output. 1 when there is one.
int InitDirectSound();
// Loads one WAV file into a slot; the slot stays silent on any failure.
void LoadSoundEffect(const char* fileName, int slot);
