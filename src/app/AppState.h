#pragma once

#include "engine/GameState.h"
#include "render/PictureSet.h"
#include "scores/HighScores.h"
#include "settings/Settings.h"

namespace vorlix {

// Program-wide state: created in main() and alive for the whole run; windows hold references.
struct AppState {
    Settings settings;
    GameState game;
    HighScores scores;
    PictureSet pictures;

    // A settings file that exists but could not be read is never overwritten at close.
    bool keepSettingsFile = false;
};

} // namespace vorlix
