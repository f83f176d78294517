// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon: the player's X coin of the board, drawn at the size
// asked for (not scaled from the piece): transparent outside the coin,
// with a soft edge of the rim's own colour.
#pragma once

#include <QImage>

// The application's id, the same for its desktop entry, icons and metadata.
inline constexpr const char* kAppId = "net.zamspelen.ZamGames";

QImage AppIconImage(int size);
