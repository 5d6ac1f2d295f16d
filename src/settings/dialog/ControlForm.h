#pragma once

#include "render/PictureSet.h"
#include "settings/Settings.h"
#include "ui/OkDialog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vorlix {

class PicturePanel;

// Asks for a picture file with `current` preselected; nothing when the user cancels.
using FileChooser = std::function<std::optional<QString>(QWidget *parent, const QString &current)>;

// The settings dialog. It works on the settings directly: every control takes effect when it
// is used, except the scoring values, which OK takes. Not modal; it holds the main window
// disabled while it is up, and OK (also a close by the window manager or Escape) lets go.
// ControlForm.cpp makes the window and wires the controls, ControlFormPages.cpp lays out the
// pages, ControlFormActions.cpp holds what the controls do and KeyCapture.cpp the key capture.
class TControlForm : public OkDialog {
    Q_OBJECT
public:
    enum Page { Tabgameplay, TabScoring, TabGraphics, TabAudio, TabPlayer1, TabPlayer2 };

    TControlForm(Settings &settings, PictureSet &pictures, MainWindowLink &mainWindow);

    // Options -> Settings: holds the main window disabled, fills the controls and shows the
    // dialog on the tab it was closed on.
    void ShowFromMenu();

    // Fills every control from the settings. Leaves the current tab, the buttons, the bevel
    // controls and the piece number alone.
    void FormShow();

    // Takes the scoring values in their fixed order. A value that is not an integer is
    // reported; those before it are kept, and the dialog stays open. True when it closed.
    bool OkBtnClick();
    void DefaultsClick(); // the current tab's defaults only
    void SetBtnClick();   // starts the key capture of the current player tab

    bool CapturingKeys() const { return captureRow_ >= 0; }

    // The next (1) or previous (-1) enabled page, wrapping around; nothing during a capture.
    void TurnPage(int step);

    // Replaces the file dialog (tests).
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    QTabWidget *PlayerControls = nullptr;
    QPushButton *Defaults = nullptr;
    QPushButton *Setbtn = nullptr;
    QPushButton *OkBtn = nullptr;

    // Gameplay
    QRadioButton *radioseconds = nullptr;
    QRadioButton *radioLines = nullptr;
    QRadioButton *Radiopieces = nullptr;
    QLineEdit *secondsEdit = nullptr;
    QLineEdit *LinesEdit = nullptr;
    QLineEdit *piecesEdit = nullptr;
    QRadioButton *downradio = nullptr;
    QRadioButton *upradio = nullptr;

    // Scoring, in the order OK takes them: AOne ... AFour, POne ... PFour, ABonus, PBonus.
    std::array<QLineEdit *, 10> ScoringEdits{};

    // Graphics
    QComboBox *piececombo = nullptr;
    QLabel *pieceimage = nullptr;
    PicturePanel *piecebutton = nullptr;
    PicturePanel *backgroundbutton = nullptr;
    QRadioButton *TileRadio = nullptr;
    QRadioButton *StretchRadio = nullptr;
    QLabel *pitimage = nullptr;
    PicturePanel *pitbutton = nullptr;
    QCheckBox *pitscheck = nullptr;
    QComboBox *beveledit = nullptr;
    QLabel *blankimage = nullptr;
    PicturePanel *blankbutton = nullptr;

    // Audio (disabled): LevelButton, LineBUtton, DropButton, BonusButton, PointsButton, AggressiveButton.
    std::array<PicturePanel *, 6> AudioPanels{};

    // Key labels in capture order: Rotate, Drop, Down, Left, Right (, Bonus).
    std::array<QLabel *, 6> Player1Keys{};
    std::array<QLabel *, 5> Player2Keys{};

    // The piece number the Graphics tab works on (the last valid text of piececombo).
    int PieceNumber() const { return pieceNumber_; }

signals:
    // What the main window shows at once: the level timer follows the seconds, player 1's pit
    // the bevel controls, and the window is laid out again once OK has taken the values.
    void LevelTimeChanged();
    void PitBevelChanged(bool on, int width);
    void Accepted();

protected:
    bool RunOk() override { return OkBtnClick(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildGameplayTab(QWidget *page);
    void BuildScoringTab(QWidget *page);
    void BuildGraphicsTab(QWidget *page);
    void BuildAudioTab(QWidget *page);
    void BuildPlayerTab(QWidget *page, int player);
    void ConnectGameplay();
    void ConnectGraphics();

    void UpdateButtons();
    void LevelRuleClick(LevelRule rule);
    void EnableLevelEdits(); // the edit of the chosen level rule
    void LevelEditChange(QLineEdit *edit, std::int32_t Settings::*setting);
    void PiececomboChange(const QString &text);
    void PictureClick(PicturePanel *panel, PictureSlot slot);
    void ShowPicture(PictureSlot slot); // the preview and file name of one picture
    void PitscheckClick();
    void GraphicsDefaults();

    // Key capture
    void FormKeyDown(std::int32_t code);
    void ShowKeyLabels();
    QLabel *&KeyLabel(int player, std::size_t row); // player 1 or 2, in capture order
    void EndCapture();
    bool IsOwnKeyEvent(QObject *watched) const;

    void ShowIntegerError(const QString &text);
    QString PictureFile(PictureSlot slot);
    std::string &PictureSetting(PictureSlot slot);

    Settings &settings_;
    PictureSet &pictures_;
    FileChooser chooseFile_;

    QButtonGroup *levelGroup_ = nullptr;
    bool filling_ = false;
    int pieceNumber_ = 1;
    bool pieceTextValid_ = true;

    int capturePlayer_ = 0; // 1 or 2 while capturing
    int captureRow_ = -1;   // the label showing "Select"; -1 when no capture runs
    std::set<std::uint32_t> heldKeys_; // keys down during the capture, not yet released
};

} // namespace vorlix
