// A running match allocates nothing: every game step, with moves, drops,
// locks, rows pushed across and redraws, works on fixed-size data.
#include <atomic>
#include <cstdlib>
#include <new>

#include "game/game_tick.h"
#include "game/match_flags.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every allocation of this test program is counted, in all the forms of
// operator new, so that every delete meets an allocation of its own kind.
namespace {
void* CountedAllocation(size_t size) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(size_t size) {
  if (void* p = CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* p = CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace game_test {
namespace {

using AllocationTest = GameTest;

TEST_F(AllocationTest, AWholeTwoPlayerMatchRunsWithoutAllocating) {
  for (bool blob : {false, true}) {
    BeginMatch(2, blob, 4321);
    PlayedEffects().reserve(1 << 16);  // the recorder of this test, not the game
    const long before = allocations.load();
    // Both players move, turn and drop in a fixed rhythm until both lose.
    const int keys[] = {'A', 'D', 'S', VK_SHIFT, VK_LEFT, VK_RIGHT, VK_DOWN, VK_CONTROL};
    for (int step = 0; step < 4000 && players[0].state > 0 && players[1].state > 0; ++step) {
      for (int k = 0; k < 8; ++k) Hold(keys[k], (step + k) % (k + 2) == 0);
      Step();
    }
    for (int key : keys) Hold(key, false);
    EXPECT_EQ(allocations.load() - before, 0) << (blob ? "BLOB" : "NORMAL");
    EXPECT_LT(players[0].state, kPlaying);
  }
}

}  // namespace
}  // namespace game_test
