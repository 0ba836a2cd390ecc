#include "game/control_layouts.h"

#include "game/match_flags.h"

ControlHandler LayoutHandler(int32_t player, int32_t layout) {
  if (playerCount == 2 && player == 0) {
    return layout != 0 ? ControlHandler::LetterKeysWRotate : ControlHandler::LetterKeysShiftDrop;
  }
  return layout != 0 ? ControlHandler::ArrowKeysUpRotate : ControlHandler::ArrowKeysDownRotate;
}

int32_t LayoutOf(int32_t player, ControlHandler handler) { return handler == LayoutHandler(player, 1) ? 1 : 0; }

int32_t SwitchLayout(int32_t player) {
  PlayerState& record = PlayerAt(player);
  const int32_t layout = LayoutOf(player, record.controlHandler) ? 0 : 1;
  record.controlHandler = LayoutHandler(player, layout);
  return layout;
}
