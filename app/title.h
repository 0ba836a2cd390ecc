// The two sequences that frame a run: the title with its sliding logo and
// text scroller, and the closing logo.
#pragma once

#include <cstdint>

// The scroller's text: the bytes of "SCROLL.TXT" without those below 32.
extern uint8_t* scrollText;
extern int32_t scrollLength;
extern int32_t scrollPos;
extern int32_t scrollStep;
extern int32_t slideY;

// Fades in the title, slides the logo down, then scrolls the text until a
// key. 1, 2 and B at the logo preset the menu; Escape there quits.
void RunTitleSequence();
// The closing picture until a key, then a fade to black. Ends with
// quitRequested set.
void ShowClosingLogo();
void LoadScrollText();
// Builds the characters one scroller step shows into `line` (at least
// `count` + 1 bytes): the text from scrollPos on, padded with spaces.
void MakeScrollLine(char* line, int32_t count);
