// A screen that shows what the graphics engine draws: every palette colour,
// pictures clipped at each edge of the screen, a pattern of fills.
#pragma once

// Fades the card in and shows it until Escape or the window is closed.
void RunTestCard();
