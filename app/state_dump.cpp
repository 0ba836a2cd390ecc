#include "app/state_dump.h"

#include <iterator>

#include "app/match.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/player_state.h"
#include "game/random.h"
#include "platform/platform.h"

namespace {

const char* HandlerName(ControlHandler handler) {
  switch (handler) {
    case ControlHandler::ArrowKeysDownRotate: return "\"ArrowKeysDownRotate\"";
    case ControlHandler::ArrowKeysUpRotate: return "\"ArrowKeysUpRotate\"";
    case ControlHandler::LetterKeysWRotate: return "\"LetterKeysWRotate\"";
    case ControlHandler::LetterKeysShiftDrop: return "\"LetterKeysShiftDrop\"";
    case ControlHandler::None: break;
  }
  return "null";
}

std::string Digits(const uint8_t* cells, int count) {
  std::string text(static_cast<size_t>(count), '0');
  for (int k = 0; k < count; ++k) text[static_cast<size_t>(k)] = static_cast<char>('0' + (cells[k] > 9 ? 9 : cells[k]));
  return text;
}

// Built by appending: g++ 12 at -O2 warns falsely (-Wrestrict) on
// "literal" + temporary string.
std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string Field(const char* name, const std::string& value) { return std::string("\"") + name + "\": " + value; }
std::string Field(const char* name, long long value) { return Field(name, std::to_string(value)); }

std::string PlayerObject(const PlayerState& p) {
  uint8_t piece[kBoxCells];
  for (int k = 0; k < kBoxCells; ++k) piece[k] = p.pieceCells[k] ? 1 : 0;
  const std::string fields[] = {
      Field("index", p.index),
      Field("state", p.state),
      Field("points", p.points),
      Field("rows", p.rows),
      Field("level", p.level),
      Field("losses", p.losses),
      Field("pieceX", p.pieceX),
      Field("pieceY", p.pieceY),
      Field("pieceColour", p.pieceColour),
      Field("pieceCells", Quoted(Digits(piece, kBoxCells))),
      Field("well", Quoted(Digits(p.well, kWellCells))),
      Field("controlHandler", HandlerName(p.controlHandler)),
  };
  std::string text = "    {";
  for (size_t k = 0; k < std::size(fields); ++k) text += (k ? ",\n     " : "") + fields[k];
  return text + "}";
}

}  // namespace

std::string StateDumpFields() {
  std::string layout(1, '[');
  layout += std::to_string(controlLayout[0]) + ", " + std::to_string(controlLayout[1]) + "]";
  const std::string fields[] = {
      Field("english", english),
      Field("playerCount", playerCount),
      Field("blobStyle", blobStyle),
      Field("controlLayout", layout),
      Field("musicOff", musicOff),
      Field("quitRequested", quitRequested),
      Field("matchSeed", matchSeeded ? std::to_string(matchSeed) : "null"),
      Field("seed", seed),
      Field("lastTickTime", lastTickTime),
      Field("gravityCountdown", gravityCountdown),
      Field("players", std::string("[\n") + PlayerObject(players[0]) + ",\n" + PlayerObject(players[1]) + "\n  ]"),
  };
  std::string text;
  for (size_t k = 0; k < std::size(fields); ++k) text += (k ? ",\n  " : "  ") + fields[k];
  return text;
}

void InstallStateDump() { platform::SetStateDumper(StateDumpFields); }
