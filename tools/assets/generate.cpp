#include "tools/assets/generate.h"

#include "media/pix_writer.h"
#include "tools/assets/background.h"
#include "tools/assets/blocks.h"
#include "tools/assets/closing_logo.h"
#include "tools/assets/effects.h"
#include "tools/assets/fonts.h"
#include "tools/assets/menu.h"
#include "tools/assets/music.h"
#include "tools/assets/palettes.h"
#include "tools/assets/scroll_text.h"
#include "tools/assets/title.h"

namespace assets {
namespace {

DataFile Pix(const char* name, const IndexCanvas& picture, const Palette& palette) {
  return {name, EncodePixFile(picture.width, picture.height, picture.pixels.data(), palette.bytes.data())};
}

}  // namespace

GeneratedData GenerateAll() {
  GeneratedData out;
  Artwork& art = out.art;

  SetGameFixedColours(art.gamePalette);
  art.font1 = DrawDisplayFont();
  art.font2 = DrawPlayFont();
  art.sheet = DrawBlockSheet(art.gamePalette);
  art.background = DrawPlayBackground(art.gamePalette);

  TitlePictures title = DrawTitlePictures();
  art.logo = title.logo;
  art.title = title.title;
  art.titlePalette = title.palette;

  MenuPictures menu = DrawMenuPictures();
  art.menu1 = menu.onePlayer;
  art.menu2 = menu.twoPlayers;
  art.menuPalette = menu.palette;

  ClosingLogo closing = DrawClosingLogo();
  art.closingLogo = closing.picture;
  art.closingPalette = closing.palette;

  // The fonts carry the game palette; their colours are the same in the title palette.
  out.files.push_back(Pix("FONT1.PIX", art.font1, art.gamePalette));
  out.files.push_back(Pix("FONT2.PIX", art.font2, art.gamePalette));
  out.files.push_back(Pix("HINTER.PIX", art.background, art.gamePalette));
  out.files.push_back(Pix("STEINES.PIX", art.sheet, art.gamePalette));
  out.files.push_back(Pix("PCBLOKS.PIX", art.logo, art.titlePalette));
  out.files.push_back(Pix("TITELS.PIX", art.title, art.titlePalette));
  out.files.push_back(Pix("KVLOGO.PIX", art.closingLogo, art.closingPalette));
  out.files.push_back(Pix("MENU1.PIX", art.menu1, art.menuPalette));
  out.files.push_back(Pix("MENU2.PIX", art.menu2, art.menuPalette));
  for (const SoundEffect& effect : SynthesizeEffects()) out.files.push_back({effect.fileName, effect.wave});
  out.files.push_back({"SCROLL.TXT", ScrollText()});
  out.midi = ComposeMusic();
  return out;
}

}  // namespace assets
