#include "games/catalogue.h"

#include <array>

#include "drawing/arrows.h"
#include "games/game0.h"
#include "games/game1.h"
#include "games/game2.h"
#include "games/game3.h"
#include "games/game4.h"
#include "games/game5.h"
#include "games/game6.h"
#include "games/game7.h"
#include "games/game8.h"

namespace {

template <class TModule>
std::unique_ptr<TGameModule> Make(TGameShell& shell, TBoard& board, uint8_t gameType) {
  return std::make_unique<TModule>(shell, board, gameType);
}

// Line t is game type t (the player's game t + 1): module, arrows, whether
// its player input is reset by the controller.
const std::array<TGameEntry, kGameCount> kGames = {{
    {Make<TGame0>, 0, false},
    {Make<TGame1>, DirLeft | DirDown, false},
    {Make<TGame2>, DirLeft | DirDown | DirDiagonal, false},
    {Make<TGame3>, DirBothWays, false},
    {Make<TGame4>, DirBothWays, false},
    {Make<TGame5>, DirBothWays, false},
    {Make<TGame6>, DirLeft, false},
    {Make<TGame7>, DirLeft, true},
    {Make<TGame8>, DirBothWays, true},
}};

}  // namespace

const TGameEntry* FindGame(uint8_t gameType) {
  if (gameType >= kGames.size() || !kGames[gameType].make) return nullptr;
  return &kGames[gameType];
}

std::unique_ptr<TGameModule> MakeGame(uint8_t gameType, TGameShell& shell, TBoard& board) {
  const TGameEntry* entry = FindGame(gameType);
  return entry ? entry->make(shell, board, gameType) : nullptr;
}
