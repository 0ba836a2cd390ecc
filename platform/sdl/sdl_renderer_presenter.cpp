// SDL's renderer on the graphics card: the changed part of the screen is
// converted into a streaming texture (SDL sends only the locked rectangle)
// and the card scales it into the window.
#include <cstring>

#include "platform/backend.h"
#include "platform/sdl/sdl_presenter.h"

namespace platform::sdl {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// OpenGL in software (Mesa's llvmpipe and kin) draws each frame on the
// processor, slower than SDL's framebuffer and with a large library loaded.
bool SoftwareOpenGl() {
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!getString) return false;
  const auto* name = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (!name) return false;
  for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR", "swrast"}) {
    if (std::strstr(name, software)) return true;
  }
  return false;
}

class RendererPresenter final : public Presenter {
 public:
  RendererPresenter(SDL_Renderer* renderer, SDL_Texture* texture) : renderer_(renderer), texture_(texture) {}
  ~RendererPresenter() override {
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
  }

  const char* Name() const override { return "graphics card"; }

  void SetIntegerScaling(bool integer) override {
    SDL_RenderSetIntegerScale(renderer_, integer ? SDL_TRUE : SDL_FALSE);
  }

  void Present(const uint8_t* pixels, int pitch, const uint32_t palette[256], const ScreenArea& changed,
               bool whole) override {
    const ScreenArea area = whole ? ScreenArea{0, 0, kScreenWidth, kScreenHeight} : changed;
    if (area.Empty()) return;
    const SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
    void* texels = nullptr;
    int texturePitch = 0;
    if (SDL_LockTexture(texture_, &rect, &texels, &texturePitch) != 0) return;
    for (int y = 0; y < rect.h; ++y) {
      const uint8_t* from = pixels + static_cast<ptrdiff_t>(rect.y + y) * pitch + rect.x;
      auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) + static_cast<ptrdiff_t>(y) * texturePitch);
      for (int x = 0; x < rect.w; ++x) to[x] = palette[from[x]];
    }
    SDL_UnlockTexture(texture_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

 private:
  SDL_Renderer* renderer_;
  SDL_Texture* texture_;
};

}  // namespace

std::unique_ptr<Presenter> CreateRendererPresenter(SDL_Window* window, bool integerScaling, bool acceptSoftwareGl) {
  // No vsync: presenting must never hold the game's own pacing.
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (!renderer) return nullptr;
  SDL_RendererInfo info{};
  const bool openGl = SDL_GetRendererInfo(renderer, &info) == 0 && info.name && std::strncmp(info.name, "opengl", 6) == 0;
  if (openGl && !acceptSoftwareGl && SoftwareOpenGl()) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  SDL_RenderSetLogicalSize(renderer, kScreenWidth, kScreenHeight);  // aspect kept, black borders
  SDL_RenderSetIntegerScale(renderer, integerScaling ? SDL_TRUE : SDL_FALSE);
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                           kScreenWidth, kScreenHeight);
  if (!texture) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  return std::make_unique<RendererPresenter>(renderer, texture);
}

}  // namespace platform::sdl
