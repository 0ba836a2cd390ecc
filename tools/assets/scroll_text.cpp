#include "tools/assets/scroll_text.h"

#include <string>

namespace assets {

std::vector<uint8_t> ScrollText() {
  // One long line: the title shows it character by character, so the
  // sentences carry their own spacing.
  const std::string gap = "      ";
  const std::string text =
      "STAKKOR" + gap + "Welcome to STAKKOR, the falling-block game for one or two players!" + gap +
      "ONE PLAYER: LEFT and RIGHT move the piece, DOWN or UP turns it, CTRL or DOWN drops it - "
      "F1 switches between the two layouts." + gap +
      "TWO PLAYERS: player 1 moves with A and D, turns with S or W and drops with SHIFT or S (F1 switches), "
      "player 2 moves with LEFT and RIGHT, turns with DOWN or UP and drops with CTRL or DOWN (F2 switches)." +
      gap + "F8 turns the music off and on, P pauses the game, ESC ends the match." + gap +
      "Two styles to play: NORMAL - every shape has its own colour, fill a row and it is gone, and the more rows "
      "you clear, the higher the level and the faster the fall.   BLOB - the colours come at random, blocks drop "
      "into every gap below them, and sixteen or more touching blocks of one colour melt away." + gap +
      "In a two-player NORMAL match every row you clear beyond the first is pushed into your rival's well..." +
      gap + "Beat the hiscore table and leave your name for everyone to see!" + gap +
      "STAKKOR - game design, programming, graphics, sound and music by KOLVANIC." + gap +
      "Thanks for playing - and watch out, the blocks keep falling!" + gap + gap;
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace assets
