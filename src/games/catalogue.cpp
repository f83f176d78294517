#include "games/catalogue.h"

#include <array>

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
std::unique_ptr<TGameModule> Make(TGameShell& shell) {
  return std::make_unique<TModule>(shell);
}

// One line per game: module, arrows, rules text, whether its player input is
// reset by the controller.
const std::array<TGameEntry, 9> kGames = {{
    {0, Make<TGame0>, 0, 0, false},
    {1, Make<TGame1>, DirLeft | DirDown, 1, false},
    {2, Make<TGame2>, DirLeft | DirDown | DirDiagonal, 2, false},
    {3, Make<TGame3>, DirBothWays, 3, false},
    {4, Make<TGame4>, DirBothWays, 4, false},
    {5, Make<TGame5>, DirBothWays, 5, false},
    {6, Make<TGame6>, DirLeft, 6, false},
    {7, Make<TGame7>, DirLeft, 7, true},
    {8, Make<TGame8>, DirBothWays, 8, true},
}};

}  // namespace

const TGameEntry* FindGame(uint8_t gameType) {
  for (const TGameEntry& entry : kGames)
    if (entry.gameType == gameType) return &entry;
  return nullptr;
}
