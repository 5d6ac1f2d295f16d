#pragma once

#include <cstdint>
#include <string>

namespace vorlix {

enum class GameTimer { Gravity, Level }; // Timer1, LevelTimer
enum class GamePanel { Logo, Pause, Preview1, Preview2 };
enum class CellPicture { Blank, Piece }; // Piece: the player's current piece picture reference
enum class MenuSet { RunningGame, NoGame };

// Everything the game needs from the screen and the event loop. The Qt main window implements
// it; tests use a recorder. Player indices are 0 (player 1) and 1 (player 2).
class GameHost {
public:
    virtual ~GameHost() = default;

    // Let the toolkit run pending events; key passes and ticks may run nested inside.
    virtual void ProcessPendingEvents() = 0;

    // Full redraw of the visible pits and previews from the game state: blank cells while
    // paused; otherwise both layers, and the previews (shown) when Preview is 1 and a game runs.
    virtual void DrawPits() = 0;
    // The blank picture over every cell of the visible pits, at the gravity-down origins.
    virtual void BlankPits() = 0;
    // One picture at the origin of cell (x, y) of a player's pit, in the current gravity direction.
    virtual void PaintCell(int player, int x, int y, CellPicture picture) = 0;
    // Player 1's piece picture over every cell of the visible pits, at the gravity-down origins.
    virtual void LevelFlash() = 0;
    // New Game: the paint boxes, previews included, show black until the first full redraw.
    virtual void ClearPaintBoxes() = 0;
    // Blank the pits, then repaint the window background.
    virtual void RepaintMainWindow() = 0;

    // Switching on never restarts a running timer; off stops it.
    virtual void SetTimerEnabled(GameTimer timer, bool on) = 0;
    // Restarts a running timer's period; an interval of 0 or less never fires.
    virtual void SetTimerInterval(GameTimer timer, std::int64_t milliseconds) = 0;

    virtual void SetStatusText(int panel, const std::string &text) = 0;
    virtual void SetPanelVisible(GamePanel panel, bool visible) = 0;
    virtual void ApplyMenus(MenuSet set) = 0;
    // Shows the game summary without making it modal; it holds the main window disabled until
    // its OK.
    virtual void ShowSummary() = 0;

    virtual std::int64_t SecondsSinceEpoch() = 0;
};

} // namespace vorlix
