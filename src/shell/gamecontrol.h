// The game controller: the single authority over what the main window is
// doing (menu, sign-in, turns, game end), the player's levels and the score.
#pragma once

#include <QString>
#include <cstdint>

#include "games/GameModule.h"

enum MessageKind : uint8_t { MsgInfo = 0, MsgError = 1, MsgPrompt = 2, MsgWin = 3, MsgLoss = 4 };

extern uint8_t GameType;   // 0..8; 255 before the first choice
extern uint8_t GameState;  // TGameState
extern uint8_t Levels[9];  // 0..5 per game type
extern bool SignedIn;
extern bool Anonymous;

void InitController();
void DispatchEvent(uint8_t event);
void ShowStatus(MessageKind kind, const QString& text);
uint8_t LevelOf(uint8_t gameType);
void RefreshScores();

void ShowMenu();
void StartPlay();
void SelectGame();
void SignIn();
void RaiseLevel();
void LowerLevel();
bool IsMaxLevel();
void ClearLevels();
uint32_t PackLevels();
void UnpackLevels(uint32_t record);

uint32_t MessageColor(MessageKind kind);  // 0x00BBGGRR

// The module of a game type (nullptr for a game not built in yet), and the
// seam the modules reach the shell through.
TGameModule* GameModule(uint8_t gameType);
TGameShell& ShellSeam();
