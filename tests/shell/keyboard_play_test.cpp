// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program played from the keyboard alone: a named player signs in,
// chooses each of the nine games, starts it and wins it with the arrow keys
// and Enter, and what the board says to a screen reader names the move the
// cursor shows. Not one mouse event reaches the program. The winning moves
// come from solvers written in the tests from the rules of each game; the
// words for them are written out here, so the board's description is
// checked as well.
#include <QAccessible>

#include "halloffame/hall_fixture.h"
#include "shell/shell_fixture.h"
#include "shell/solvers.h"

namespace {

using namespace solvers;

// Counts the mouse events that reach any widget.
class TMouseCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        ++count;
        break;
      default:
        break;
    }
    return false;
  }
};

std::string N(int n) { return std::to_string(n); }

class KeyboardPlay : public ShellTest {
 protected:
  void Key(int key, Qt::KeyboardModifiers mods = {}) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : form.get(), Qt::Key(key), mods);
  }
  std::string Board() const {
    return QAccessible::queryAccessibleInterface(form->box1)
        ->text(QAccessible::Description)
        .toStdString();
  }
  // The player's winning move, in the words the board uses for it.
  std::string WinningMove(int type);
  // Steps the cursor with the right arrow until the board names `move`, and
  // plays it with Enter.
  void Play(const std::string& move) {
    const std::string shown = " Gekozen zet: " + move + ".";
    for (int step = 0; step < 200; ++step) {
      Key(Qt::Key_Right);
      const std::string board = Board();
      if (board.size() >= shown.size() &&
          board.compare(board.size() - shown.size(), shown.size(), shown) == 0) {
        Key(step % 2 ? Qt::Key_Return : Qt::Key_Space);
        return;
      }
    }
    FAIL() << "the cursor never showed: " << move << "\nboard: " << Board();
  }

  TJudge judge;
};

std::string KeyboardPlay::WinningMove(int type) {
  switch (type) {
    case 0: {  // equal columns
      const auto h = static_cast<TGame0*>(Controller().GameModule(0))->Position().ColumnHeights;
      const int column = h[0] > h[1] ? 1 : 2, take = std::abs(h[0] - h[1]);
      return "neem " + N(take) + (take == 1 ? " steen" : " stenen") + " van de " +
             (column == 1 ? "linker" : "rechter") + " kolom";
    }
    case 1:
    case 2: {
      const auto to = (type == 1 ? judge.game2 : judge.game3).Winning(CoinOf(Controller(), type));
      if (!to) return "?";
      return "munt naar kolom " + N(to->first + 1) + ", rij " + N(to->second + 1);
    }
    case 3:
    case 5: {  // the X coin of the row whose heap is cut to make the xor 0
      const auto& p = static_cast<TRowGame*>(Controller().GameModule(uint8_t(type)))->Position();
      const std::vector<int> h = Heaps(Controller(), type);
      const int s = Xor(h);
      for (int r = 0; r < int(h.size()); ++r) {
        const int want = h[size_t(r)] ^ s;
        if (want >= h[size_t(r)]) continue;
        return "X van rij " + N(r + 1) + " van vakje " + N(p.PlayerColumn[r] + 1) + " naar vakje " +
               N(p.ComputerColumn[r] + 1 + want + 1);
      }
      return "?";
    }
    case 4: {  // the contested gaps made equal
      const auto [a, b] = Gaps(Controller());
      const auto& p = static_cast<TGame4*>(Controller().GameModule(4))->Position();
      if (a > b)
        return "X-munt 2 van vakje " + N(p.PlayerCell[1] + 1) + " naar vakje " +
               N((p.PlayerCell[1] + (a - b)) % 24 + 1);
      return "X-munt 1 van vakje " + N(p.PlayerCell[0] + 1) + " naar vakje " +
             N((p.PlayerCell[0] - (b - a) + 24) % 24 + 1);
    }
    case 6: {
      const std::vector<int> from = Columns7(Controller());
      const auto to = judge.game7.Winning(from);
      if (!to) return "?";
      size_t i = 0;
      while (from[i] == (*to)[i]) ++i;
      return "munt van vakje " + N(from[i] + 1) + " naar vakje " + N((*to)[i] + 1);
    }
    case 7: {
      const Euro from = Position8(Controller());
      const auto to = judge.game8.Winning(from);
      if (!to) return "?";
      size_t i = 0;
      if (to->first.size() == from.first.size())
        while (from.first[i] == to->first[i]) ++i;
      const bool out = to->first.size() < from.first.size();
      const std::string coin = int(i) + 1 == from.second ? "euromunt" : "munt";
      return coin + " van vakje " + N(from.first[i] + 1) + " naar vakje " +
             (out ? "1: valt uit het spel" : N(to->first[i] + 1));
    }
    default: {
      const uint16_t from = static_cast<TGame8*>(Controller().GameModule(8))->Standing();
      const auto to = judge.game9.Winning(from);
      if (!to) return "?";
      const uint16_t knocked = from ^ *to;
      const int first = __builtin_ctz(knocked);
      return knocked >> first == 3 ? "gooi blikjes " + N(first + 1) + " en " + N(first + 2) + " om"
                                   : "gooi blikje " + N(first + 1) + " om";
    }
  }
}

TEST_F(KeyboardPlay, ANamedPlayerWinsEveryGameWithKeysAlone) {
  TMouseCounter mouse;
  qApp->installEventFilter(&mouse);
  Key(Qt::Key_N, Qt::AltModifier);  // into the name box
  for (int key : {Qt::Key_K, Qt::Key_E, Qt::Key_Y, Qt::Key_S, Qt::Key_Return}) Key(key);
  ASSERT_TRUE(Controller().SignedIn());
  for (int type = 0; type < 9; ++type) {
    SCOPED_TRACE(type + 1);
    Key(Qt::Key_1 + type);
    ASSERT_EQ(Controller().GameType(), type);
    Key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
    if (judge.StartIsLost(Controller(), type)) {
      Key(Qt::Key_B, Qt::ControlModifier);
      RunTimer();
    }
    for (int moves = 0; Controller().GameState() == TGameState::GsPlayerToMove && moves < 60;
         ++moves) {
      ASSERT_FALSE(judge.StartIsLost(Controller(), type))
          << "the player to move faces a lost position";
      Play(WinningMove(type));
      ASSERT_NE(Status(), QStringLiteral("foute zet ... opnieuw"));
      RunTimer();
    }
    ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
    ASSERT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
    ASSERT_EQ(Controller().Levels()[type], 1);
    Key(Qt::Key_M, Qt::ControlModifier);  // back to the menu
    ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
  }
  qApp->removeEventFilter(&mouse);
  EXPECT_EQ(mouse.count, 0);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("45"));
  form.reset();  // the program ends: the hall of fame is written
  const QByteArray file = ReadFile();
  ASSERT_EQ(file.size(), 56);
  EXPECT_EQ(file.mid(0, 5), QByteArray("\x04keys", 5));
}

}  // namespace
