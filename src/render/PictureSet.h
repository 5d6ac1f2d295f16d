#pragma once

#include "settings/Settings.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <array>
#include <string>

namespace vorlix {

enum class PictureSlot { Blank, Pit, Background, Piece };

// Every picture the game draws, alive for the whole run. The members never move, so the
// renderer can keep pointers to them and a reload in place is seen everywhere at once.
// Needs a QGuiApplication.
class PictureSet {
public:
    // Fills the pictures that come with the program (splash, pause, previews); the file
    // pictures stay null until LoadAll.
    PictureSet();
    PictureSet(const PictureSet &) = delete;
    PictureSet &operator=(const PictureSet &) = delete;

    QPixmap Blank;      // BlankBitmap
    QPixmap Pit;        // PitBitmap
    QPixmap Background; // BackgroundBitmap
    std::array<QPixmap, 21> Pieces; // PieceBitmaps: 1..20 from the files, 0 the scratch entry

    QPixmap Splash;                  // 256 x 256, the splash window and the logo panel
    QPixmap Paused;                  // 158 x 68, the pause panel
    std::array<QPixmap, 7> Previews; // previewlist: entry k - 1 for kind k, 21 x 41

    // Loads the pit, blank, twenty piece and background pictures from the settings' files,
    // in that order. False as soon as one cannot be loaded (missing, unreadable, not a picture,
    // or empty); the start-up block then ends the program.
    bool LoadAll(const Settings &settings);

    // Loads one picture again from path (the file name's bytes); index is the piece number
    // 1..20 for PictureSlot::Piece. On failure (or a piece index outside 1..20) the old picture
    // stays and false is returned.
    bool Reload(PictureSlot slot, int index, const std::string &path);
    // The same for a name Qt gave us (the file dialog).
    bool Reload(PictureSlot slot, int index, const QString &path);

    // Piece picture n, or nullptr outside 0..20.
    QPixmap *Piece(int n);
    // Preview picture of a kind, or nullptr outside 1..7.
    const QPixmap *Preview(int kind) const;

private:
    QPixmap *Slot(PictureSlot slot, int index);
};

// The window icon at 16, 32, 48 and 64 pixels.
QIcon ProgramIcon();

// A picture file loaded into a new pixmap; null when it cannot be read, is no regular file
// (a pipe or a device would block the reader or never end), or has no pixels. The path is the
// file name's bytes, which need not be valid text.
QPixmap LoadPicture(const std::string &path);

} // namespace vorlix
