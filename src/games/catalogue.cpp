// SPDX-License-Identifier: GPL-3.0-or-later
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
// its player input is reset by the controller, and its rules text.
const std::array<TGameEntry, kGameCount> kGames = {{
    {Make<TGame0>,
     0,
     false,
     {"Neem per zet een willekeurig aantal stenen van een kolom weg.",
      "Winnaar is wie de laatste steen (stenen) weghaalt.", "Score: 1 punt per gewonnen spel."}},
    {Make<TGame1>,
     DirLeft | DirDown,
     false,
     {"Schuif per zet de munt een aantal vakjes naar links of omlaag.",
      "Winnaar is wie de munt in het groene vakje zet.", "Score : 2 punten per gewonnen spel"}},
    {Make<TGame2>,
     DirLeft | DirDown | DirDiagonal,
     false,
     {"Schuif per zet de munt een aantal vakjes naar links, omlaag, of diagonaal naar links.",
      "Winnaar is wie de munt in het groene vakje zet.", "Score: 3 punten per gewonnen spel."}},
    {Make<TGame3>,
     DirBothWays,
     false,
     {"Schuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts.",
      "Per vakje kan er maximaal 1 munt staan. Munten kunnen elkaar niet passeren.",
      "Winnaar is degene die de ander klem zet, zodat die geen zet meer kan doen.",
      "Score: 4 punten per gewonnen spel."}},
    {Make<TGame4>,
     DirBothWays,
     false,
     {"Verschuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts.",
      "Maximaal  1 munt per vakje, munten kunnen elkaar niet passeren.",
      "Winnaar is degene die de ander klem zet.", "Score: 5 punten per gewonnen spel."}},
    {Make<TGame5>,
     DirBothWays,
     false,
     {"Verschuif een eigen munt 'X' per zet een aantal vakjes naar links of naar rechts.",
      "Maximaal  1 munt per vakje, munten kunnen elkaar niet passeren.",
      "Winnaar is degene die de ander klem zet.", "Score: 6 punten per gewonnen spel."}},
    {Make<TGame6>,
     DirLeft,
     false,
     {"Schuif per zet een munt een aantal vakjes naar links.",
      "Maximaal 1 munt per vakje, passeren is niet toegestaan.",
      "Winnaar is degene die de laatst mogelijke zet doet.",
      "Alle munten staan dan links aangeschoven.", "Score: 7 punten per gewonnen spel."}},
    {Make<TGame7>,
     DirLeft,
     true,
     {"Schuif per zet een munt een aantalvakjes naar links.",
      "Maximaal 1 munt per vakje, passeren is niet toegestaan.",
      "Munten in het linker vakje vallen uit het spel.",
      "Winnaar is degene die de ' \u20AC ' munt uit het spel haalt.",
      "Score: 8 punten per gewonnen spel;"}},
    {Make<TGame8>,
     DirBothWays,
     true,
     {"Gooi per zet 1 of 2 blikjes om.", "Winnaar is degene die de laatste blikjes omgooit.",
      "Score: 9 punten per gewonnen spel."}},
}};

}  // namespace

const std::array<const char*, 6> kGeneralRules = {
    "9 Zam spelen, van makkelijk (1) tot moeilijk (9) maar de wiskunde erachter is steeds "
    "hetzelfde.",
    "Speler en computer doen om beurten een zet. Wie als eerste de eindstand bereikt is de "
    "winnaar.",
    "strategie:",
    "Elke stand is \"goed\" of \"fout\". Een stand is \"fout\" als er een zet bestaat naar een "
    "\"goede\" stand.",
    "Een stand is \"goed\" als het de eindstand is of als elke zet een \"foute\" stand oplevert.",
    "De speler kan elk spel winnen door bij een \"goede\" beginstand de computer de eerste zet te "
    "laten doen."};

const TGameEntry* FindGame(uint8_t gameType) {
  if (gameType >= kGames.size() || !kGames[gameType].make) return nullptr;
  return &kGames[gameType];
}

std::unique_ptr<TGameModule> MakeGame(uint8_t gameType, TGameShell& shell, TBoard& board) {
  const TGameEntry* entry = FindGame(gameType);
  return entry ? entry->make(shell, board, gameType) : nullptr;
}
