// SPDX-License-Identifier: GPL-3.0-or-later
// Every one of the nine games on its own: made from its catalogue line,
// driven through a stand-in shell and a board whose screen is a plain
// bitmap, with no main window. Each game starts from a position set here,
// refuses a wrong move, takes a legal one, lets the computer move, and ends
// with the player's last move. The positions after each move are worked out
// by hand from the games' rules.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Random.h"
#include "fake_shell.h"
#include "games/catalogue.h"
#include "games/coinboard.h"
#include "games/game0.h"
#include "games/game4.h"
#include "games/game6.h"
#include "games/game7.h"
#include "games/game8.h"
#include "games/rowboard.h"
#include "line_positions.h"

namespace {

using Inputs = std::vector<TBoardInput>;

// A drag as a player makes it: onto the piece from nearby, press, move in
// small steps, release.
Inputs Drag(TPoint from, TPoint to) {
  Inputs in{Move(from.x + 7, from.y + 5), Move(from.x, from.y), Press(from.x, from.y)};
  for (int i = 1; i <= 20; ++i)
    in.push_back(Move(from.x + (to.x - from.x) * i / 20, from.y + (to.y - from.y) * i / 20));
  in.push_back(Release(to.x, to.y));
  return in;
}

// A click: onto the point, press, release.
Inputs Click(TPoint p) { return {Move(p.x, p.y), Press(p.x, p.y), Release(p.x, p.y)}; }

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// Game 5: along the ring from cell k's centre to `degrees`, the shorter way.
Inputs RingDrag(int k, double degrees) {
  const TPoint from = game4::CellCentre(k);
  auto at = [](double d) {
    const double a = d * M_PI / 180;
    return TPoint{int(std::lround(320 + 205 * std::cos(a))),
                  int(std::lround(240 + 205 * std::sin(a)))};
  };
  Inputs in{Move(from.x + 3, from.y + 2), Move(from.x, from.y), Press(from.x, from.y)};
  double turn = degrees - game4::CellAngle(k);
  while (turn > 180) turn -= 360;
  while (turn < -180) turn += 360;
  TPoint to = from;
  for (int i = 1; i <= 30; ++i) {
    to = at(game4::CellAngle(k) + turn * i / 30);
    in.push_back(Move(to.x, to.y));
  }
  in.push_back(Release(to.x, to.y));
  return in;
}

// ---- the games' positions, as text -----------------------------------------------

// Appends v to s, after `separator` unless s is empty.
void Append(std::string& s, int v, const char* separator = ",") {
  if (!s.empty()) s += separator;
  s += std::to_string(v);
}

std::string Join(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) Append(s, v);
  return s;
}

std::string Game1Text(TGameModule& m) {
  const auto& p = static_cast<TGame0&>(m).Position();
  return Join({p.ColumnHeights[0], p.ColumnHeights[1]});
}
std::string CoinText(TGameModule& m) {
  const auto& c = static_cast<TCoinGame&>(m).Coin();
  return Join({c.column, c.row});
}
std::string RowsText(TGameModule& m) {
  const auto& p = static_cast<TRowGame&>(m).Position();
  std::string s = "O";
  for (int r = 0; r < p.rows; ++r) Append(s, p.ComputerColumn[r], " ");
  s += " X";
  for (int r = 0; r < p.rows; ++r) Append(s, p.PlayerColumn[r], " ");
  return s;
}
std::string RingText(TGameModule& m) {
  const auto& p = static_cast<TGame4&>(m).Position();
  std::string s = "X ";
  s += Join({p.PlayerCell[0], p.PlayerCell[1]});
  s += " O ";
  s += Join({p.ComputerCell[0], p.ComputerCell[1]});
  return s;
}
std::string Game7Text(TGameModule& m) {
  std::string s;
  for (int8_t c : static_cast<TGame6&>(m).Position().CoinColumn)
    if (c >= 0) Append(s, c);
  return s;
}
std::string Game8Text(TGameModule& m) {
  const auto& p = static_cast<TGame7&>(m).Position();
  std::string s;
  for (int i = 0; i < p.CoinCount; ++i) Append(s, p.CoinColumn[i]);
  s += " euro ";
  s += std::to_string(p.EuroIndex);
  return s;
}
std::string Game9Text(TGameModule& m) {
  std::string s;
  const uint16_t standing = static_cast<TGame8&>(m).Standing();
  for (int i = 0; i < 16; ++i) s += (standing >> i & 1) ? '|' : '.';
  return s;
}

// ---- the positions set ----------------------------------------------------------------

rows::TPosition Rows(std::vector<int> o, std::vector<int> x) {
  rows::TPosition p;
  p.rows = uint8_t(o.size());
  for (size_t r = 0; r < o.size(); ++r) {
    p.ComputerColumn[r] = uint8_t(o[r]);
    p.PlayerColumn[r] = uint8_t(x[r]);
  }
  return p;
}
game4::TPosition Ring(int x1, int x2, int o1, int o2) {
  game4::TPosition p;
  p.PlayerCell[0] = uint8_t(x1);
  p.PlayerCell[1] = uint8_t(x2);
  p.ComputerCell[0] = uint8_t(o1);
  p.ComputerCell[1] = uint8_t(o2);
  return p;
}

TPoint BlockCentre(int column, int row) { return Centre(game0::BlockRect(column, row)); }
TPoint CoinCentre(int column, int row) { return Centre(coinboard::CellRect({column, row})); }
TPoint RowCentre(TGameModule& m, int column, int row) {
  return Centre(static_cast<TRowGame&>(m).CellRect(column, row));
}
TPoint LineCentre(int column) { return {40 * column + 20, 240}; }
TPoint CanCentre(int place) { return {40 * place + 20, 210}; }

struct GameCase {
  const char* name;
  uint8_t type;
  std::function<std::string(TGameModule&)> text;
  std::function<void(TGameModule&)> start;
  std::string startText;
  // A wrong move; game 1 has none to report: a click beside the blocks
  // does nothing.
  std::function<Inputs(TGameModule&)> wrong;
  bool wrongReported;
  std::function<Inputs(TGameModule&)> legal;
  std::string afterLegal;
  // One move before the end, and the player's last move.
  std::function<void(TGameModule&)> nearEnd;
  std::function<Inputs(TGameModule&)> last;
};

void PrintTo(const GameCase& c, std::ostream* os) { *os << c.name; }

template <class T>
T& As(TGameModule& m) {
  return static_cast<T&>(m);
}

const GameCase kCases[] = {
    {"game1", 0, Game1Text,
     [](TGameModule& m) {
       As<TGame0>(m).SetPosition({{3, 2}});
     },
     "3,2",
     [](TGameModule&) {
       return Click({20, 20});
     },
     false, [](TGameModule&) { return Click(BlockCentre(1, 2)); }, "1,2",
     [](TGameModule& m) {
       As<TGame0>(m).SetPosition({{1, 0}});
     },
     [](TGameModule&) { return Click(BlockCentre(1, 1)); }},
    {"game2", 1, CoinText,
     [](TGameModule& m) {
       As<TCoinGame>(m).SetCoin({5, 9});
     },
     "5,9", [](TGameModule&) { return Drag(CoinCentre(5, 9), CoinCentre(3, 7)); },
     true,  // diagonal
     [](TGameModule&) { return Drag(CoinCentre(5, 9), CoinCentre(2, 9)); }, "2,9",
     [](TGameModule& m) {
       As<TCoinGame>(m).SetCoin({0, 3});
     },
     [](TGameModule&) { return Drag(CoinCentre(0, 3), CoinCentre(0, 0)); }},
    {"game3", 2, CoinText,
     [](TGameModule& m) {
       As<TCoinGame>(m).SetCoin({5, 9});
     },
     "5,9", [](TGameModule&) { return Drag(CoinCentre(5, 9), CoinCentre(8, 9)); }, true,  // right
     [](TGameModule&) { return Drag(CoinCentre(5, 9), CoinCentre(3, 7)); }, "3,7",
     [](TGameModule& m) {
       As<TCoinGame>(m).SetCoin({2, 2});
     },
     [](TGameModule&) { return Drag(CoinCentre(2, 2), CoinCentre(0, 0)); }},
    {"game4", 3, RowsText,
     [](TGameModule& m) {
       As<TRowGame>(m).SetPosition(Rows({2, 3}, {8, 10}));
     },
     "O 2 3 X 8 10", [](TGameModule& m) { return Drag(RowCentre(m, 8, 1), RowCentre(m, 1, 1)); },
     true,  // past O
     [](TGameModule& m) { return Drag(RowCentre(m, 8, 1), RowCentre(m, 5, 1)); }, "O 2 3 X 5 10",
     [](TGameModule& m) {
       As<TRowGame>(m).SetPosition(Rows({0, 0}, {1, 5}));
     },
     [](TGameModule& m) { return Drag(RowCentre(m, 5, 2), RowCentre(m, 1, 2)); }},
    {"game5", 4, RingText, [](TGameModule& m) { As<TGame4>(m).SetPosition(Ring(0, 5, 10, 15)); },
     "X 0,5 O 10,15", [](TGameModule&) { return RingDrag(0, 75); }, true,  // onto X coin 2
     [](TGameModule&) { return RingDrag(0, 330); }, "X 22,5 O 10,15",
     [](TGameModule& m) { As<TGame4>(m).SetPosition(Ring(12, 5, 6, 7)); },
     [](TGameModule&) { return RingDrag(12, 120); }},  // shuts the O coins in
    {"game6", 5, RowsText,
     [](TGameModule& m) {
       As<TRowGame>(m).SetPosition(Rows({2, 3, 4}, {8, 10, 12}));
     },
     "O 2 3 4 X 8 10 12",
     [](TGameModule& m) { return Drag(RowCentre(m, 8, 1), RowCentre(m, 1, 1)); }, true,
     [](TGameModule& m) { return Drag(RowCentre(m, 8, 1), RowCentre(m, 5, 1)); },
     "O 2 3 4 X 5 10 12",
     [](TGameModule& m) {
       As<TRowGame>(m).SetPosition(Rows({0, 0, 0}, {1, 1, 5}));
     },
     [](TGameModule& m) { return Drag(RowCentre(m, 5, 3), RowCentre(m, 1, 3)); }},
    {"game7", 6, Game7Text,
     [](TGameModule& m) {
       As<TGame6>(m).SetPosition(Seven({2, 6, 11}));
     },
     "2,6,11", [](TGameModule&) { return Drag(LineCentre(6), LineCentre(2)); },
     true,  // onto a coin
     [](TGameModule&) { return Drag(LineCentre(11), LineCentre(8)); }, "2,6,8",
     [](TGameModule& m) {
       As<TGame6>(m).SetPosition(Seven({0, 2}));
     },
     [](TGameModule&) { return Drag(LineCentre(2), LineCentre(1)); }},
    {"game8", 7, Game8Text,
     [](TGameModule& m) {
       As<TGame7>(m).SetPosition(Eight({2, 5, 9}, 3));
     },
     "2,5,9 euro 3", [](TGameModule&) { return Drag(LineCentre(9), LineCentre(5)); },
     true,  // onto a coin
     [](TGameModule&) { return Drag(LineCentre(9), LineCentre(7)); }, "2,5,7 euro 3",
     [](TGameModule& m) {
       As<TGame7>(m).SetPosition(Eight({3, 7}, 1));
     },
     [](TGameModule&) { return Drag(LineCentre(3), LineCentre(0)); }},  // the euro coin out
    {"game9", 8, Game9Text, [](TGameModule& m) { As<TGame8>(m).SetStanding(0x0FF0); },
     "....||||||||....",
     // The ball let go where no can stands: it rolls and comes back.
     [](TGameModule&) {
       return Click({20, 370});
     },
     true, [](TGameModule&) { return Click(CanCentre(5)); }, "....|.||||||....",
     [](TGameModule& m) { As<TGame8>(m).SetStanding(0x0010); },
     [](TGameModule&) { return Click(CanCentre(4)); }},
};

class NineGames : public ::testing::TestWithParam<GameCase> {
 protected:
  void SetUp() override { zam::RandSeed(20261210); }

  // The inputs, then the move timer's ticks until the module stops it.
  void Play(TGameModule& m, const Inputs& inputs) {
    for (const TBoardInput& input : inputs) m.HandleMouse(input);
    RunTimer(m);
  }
  void RunTimer(TGameModule& m) {
    for (int ticks = 0; shell.timer && ticks < 100000; ++ticks) m.TimerStep();
    ASSERT_FALSE(shell.timer);
  }
  // What the controller does at the start of each of the player's turns.
  void PlayerTurn(TGameModule& m) {
    shell.state = TGameState::GsPlayerToMove;
    if (FindGame(m.Type())->resetsPlayerInput) m.ResetPlayerInput();
    shell.events.clear();
  }
  // The screen shows exactly what was composed: nothing drawn was left
  // unflushed, nothing flushed is out of date.
  bool ScreenIsComposed() const {
    return screen.screen.Image() == screen.board.ComposeBitmap.Image();
  }

  TFakeShell shell;
  TFakeBoard screen;
};

TEST_P(NineGames, StartWrongMoveLegalMoveComputerMoveAndTheEnd) {
  const GameCase& c = GetParam();
  std::unique_ptr<TGameModule> game = MakeGame(c.type, shell, screen.board);
  ASSERT_NE(game, nullptr);
  TGameModule& m = *game;
  EXPECT_EQ(m.Type(), c.type);

  // The empty board reaches the screen whole.
  m.PrepareBoard();
  EXPECT_GT(screen.shown, 0);
  EXPECT_TRUE(ScreenIsComposed());

  PlayerTurn(m);
  c.start(m);
  ASSERT_EQ(c.text(m), c.startText);
  EXPECT_TRUE(ScreenIsComposed());
  EXPECT_FALSE(m.IsGameOver());

  Play(m, c.wrong(m));
  EXPECT_EQ(shell.events, c.wrongReported
                              ? std::vector<ControllerEvent>{ControllerEvent::EvWrongMove}
                              : std::vector<ControllerEvent>{});
  EXPECT_EQ(c.text(m), c.startText);
  EXPECT_TRUE(ScreenIsComposed());

  PlayerTurn(m);
  Play(m, c.legal(m));
  EXPECT_EQ(shell.events, std::vector<ControllerEvent>{ControllerEvent::EvPlayerMoved});
  EXPECT_EQ(c.text(m), c.afterLegal);
  EXPECT_TRUE(ScreenIsComposed());
  EXPECT_FALSE(m.IsGameOver());

  // The computer's move runs on the timer and ends with EvComputerMoved.
  shell.state = TGameState::GsComputerMoving;
  shell.events.clear();
  m.StartComputerMove();
  EXPECT_TRUE(shell.timer);
  RunTimer(m);
  EXPECT_EQ(shell.events, std::vector<ControllerEvent>{ControllerEvent::EvComputerMoved});
  EXPECT_NE(c.text(m), c.afterLegal);
  EXPECT_TRUE(ScreenIsComposed());

  PlayerTurn(m);
  c.nearEnd(m);
  EXPECT_FALSE(m.IsGameOver());
  Play(m, c.last(m));
  EXPECT_EQ(shell.events, std::vector<ControllerEvent>{ControllerEvent::EvPlayerMoved});
  EXPECT_TRUE(m.IsGameOver());
  EXPECT_TRUE(ScreenIsComposed());
}

INSTANTIATE_TEST_SUITE_P(EveryGame, NineGames, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The catalogue has a line for every game type and none beyond.
TEST(Catalogue, NineGamesEachMadeWithItsOwnType) {
  TFakeShell shell;
  TFakeBoard screen;
  for (uint8_t t = 0; t < kGameCount; ++t) {
    const auto game = MakeGame(t, shell, screen.board);
    ASSERT_NE(game, nullptr) << int(t);
    EXPECT_EQ(game->Type(), t);
  }
  EXPECT_EQ(MakeGame(kGameCount, shell, screen.board), nullptr);
  EXPECT_EQ(MakeGame(kNoGame, shell, screen.board), nullptr);
  EXPECT_EQ(FindGame(kNoGame), nullptr);
}

}  // namespace
