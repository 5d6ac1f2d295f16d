#include "settings/dialog/ControlForm.h"

#include "settings/IntegerText.h"
#include "settings/dialog/PicturePanel.h"
#include "ui/MessageBox.h"
#include "ui/WindowHints.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace vorlix {

namespace {

// The order OK takes the scoring edits in.
constexpr std::array<std::int32_t Settings::*, 10> ScoringValues = {
    &Settings::AOne, &Settings::ATwo,   &Settings::AThree, &Settings::AFour, &Settings::POne,
    &Settings::PTwo, &Settings::PThree, &Settings::PFour,  &Settings::ABonus, &Settings::PBonus};

// Player 2's Defaults, in capture order, are not his start-up keys: Right and Left swap, and
// Z and Ctrl replace S and Shift.
constexpr std::array<std::int32_t, 5> Player2DialogKeys = {0x57 /* W */, Key::Control, 0x5A /* Z */, 0x41 /* A */,
                                                           0x44 /* D */};

const QString MessageTitle = QStringLiteral("Vorlix");

// The file name without its directory.
QString FileNameOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return FileNameText(slash == std::string::npos ? path : path.substr(slash + 1));
}

// The settings file holds one value per line and trims blanks at the ends of a line, so such a
// name would come back different, or would split the line.
bool SettingsFileCanKeep(const QString &path)
{
    return !path.isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r')) &&
           path.back().unicode() > 0x20;
}

void SetChecked(QButtonGroup *group, QAbstractButton *button)
{
    if (button) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go by itself.
    group->setExclusive(false);
    for (QAbstractButton *member : group->buttons())
        member->setChecked(false);
    group->setExclusive(true);
}

} // namespace

void TControlForm::ShowFromMenu()
{
    mainWindow_.Hold(this);
    FormShow();
    UpdateButtons();
    PresentDialog(this, mainWindow_.Window(), CapturingKeys() ? nullptr : OkBtn);
}

void TControlForm::FormShow()
{
    filling_ = true;
    for (std::size_t i = 0; i < ScoringEdits.size(); ++i)
        ScoringEdits[i]->setText(QString::number(settings_.*ScoringValues[i]));

    pieceimage->setPixmap(*pictures_.Piece(pieceNumber_));
    pitimage->setPixmap(pictures_.Pit);
    blankimage->setPixmap(pictures_.Blank);

    const std::string *audio[] = {&settings_.LevelSoundFile, &settings_.LinesSoundFile, &settings_.DropSoundFile,
                                  &settings_.BonusSoundFile, &settings_.PointsMidiFile, &settings_.AggressiveMidiFile};
    for (std::size_t i = 0; i < AudioPanels.size(); ++i)
        AudioPanels[i]->SetFileName(FileNameOf(*audio[i]));
    backgroundbutton->SetFileName(FileNameOf(settings_.BackgroundFile));
    piecebutton->SetFileName(FileNameOf(settings_.PieceFiles[static_cast<std::size_t>(pieceNumber_)]));
    blankbutton->SetFileName(FileNameOf(settings_.BlankFile));
    pitbutton->SetFileName(FileNameOf(settings_.PitFile));

    ShowKeyLabels();

    secondsEdit->setText(QString::number(settings_.LevelChangeTime));
    LinesEdit->setText(QString::number(settings_.LevelChangeLines));
    piecesEdit->setText(QString::number(settings_.LevelChangePieces));

    (settings_.Tiled ? TileRadio : StretchRadio)->setChecked(true);

    EnableLevelEdits();
    SetChecked(levelGroup_, levelGroup_->button(settings_.LevelChangeBy));

    (settings_.GravityDown ? downradio : upradio)->setChecked(true);
    filling_ = false;
}

void TControlForm::UpdateButtons()
{
    const bool idle = !CapturingKeys();
    const int page = PlayerControls->currentIndex();
    Defaults->setEnabled(idle);
    OkBtn->setEnabled(idle);
    Setbtn->setEnabled(idle && (page == TabPlayer1 || page == TabPlayer2));
    // A tab widget cannot refuse a change of page, so the other tabs are out of reach instead,
    // one by one: a disabled tab bar would draw Audio (no sound is ever played) like the rest.
    for (int tab = 0; tab < PlayerControls->count(); ++tab)
        PlayerControls->setTabEnabled(tab, tab != TabAudio && (idle || tab == page));
}

void TControlForm::LevelRuleClick(LevelRule rule)
{
    if (filling_)
        return;
    settings_.LevelChangeBy = static_cast<std::int32_t>(rule);
    EnableLevelEdits();
}

void TControlForm::EnableLevelEdits()
{
    secondsEdit->setEnabled(settings_.LevelChangesBy(LevelRule::Time));
    LinesEdit->setEnabled(settings_.LevelChangesBy(LevelRule::Lines));
    piecesEdit->setEnabled(settings_.LevelChangesBy(LevelRule::Pieces));
}

void TControlForm::LevelEditChange(QLineEdit *edit, std::int32_t Settings::*setting)
{
    if (filling_)
        return;
    const std::optional<std::int32_t> value = ParseInteger(edit->text().toStdString());
    if (!value) {
        ShowIntegerError(edit->text());
        return;
    }
    settings_.*setting = *value;
    if (edit == secondsEdit)
        emit LevelTimeChanged();
}

bool TControlForm::OkBtnClick()
{
    if (CapturingKeys())
        return false;
    for (std::size_t i = 0; i < ScoringEdits.size(); ++i) {
        QLineEdit *edit = ScoringEdits[i];
        const std::optional<std::int32_t> value = ParseInteger(edit->text().toStdString());
        if (!value) {
            ShowIntegerError(edit->text());
            PlayerControls->setCurrentIndex(TabScoring);
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return false;
        }
        settings_.*ScoringValues[i] = *value;
    }
    mainWindow_.Release(this);
    emit Accepted();
    hide();
    return true;
}

void TControlForm::DefaultsClick()
{
    if (CapturingKeys())
        return;
    Settings &s = settings_;
    const Settings defaults;
    switch (PlayerControls->currentIndex()) {
    case TabPlayer1:
        for (const KeyBinding key : PlayerKeys(0))
            s.*key = defaults.*key;
        break;
    case TabPlayer2:
        for (std::size_t role = 0; role < Player2DialogKeys.size(); ++role)
            s.*PlayerKeys(1)[role] = Player2DialogKeys[role];
        break;
    case Tabgameplay:
        s.LevelChangeBy = defaults.LevelChangeBy;
        s.GravityDown = defaults.GravityDown;
        s.LevelChangeTime = defaults.LevelChangeTime;
        s.LevelChangeLines = defaults.LevelChangeLines;
        s.LevelChangePieces = defaults.LevelChangePieces;
        // The fill below does not run the edits' handlers.
        emit LevelTimeChanged();
        break;
    case TabScoring:
        for (const auto value : ScoringValues)
            s.*value = defaults.*value;
        break;
    case TabGraphics:
        GraphicsDefaults();
        break;
    default:
        break;
    }
    FormShow();
}

void TControlForm::GraphicsDefaults()
{
    Settings defaults = settings_;
    SetDefaultPictureFiles(defaults);
    QStringList failed;
    const auto restore = [&](PictureSlot slot, int index, std::string &setting, const std::string &path) {
        if (pictures_.Reload(slot, index, path))
            setting = path;
        else
            failed << FileNameText(path);
    };
    for (std::size_t n = 1; n <= 20; ++n)
        restore(PictureSlot::Piece, static_cast<int>(n), settings_.PieceFiles[n], defaults.PieceFiles[n]);
    restore(PictureSlot::Background, 0, settings_.BackgroundFile, defaults.BackgroundFile);
    restore(PictureSlot::Pit, 0, settings_.PitFile, defaults.PitFile);
    restore(PictureSlot::Blank, 0, settings_.BlankFile, defaults.BlankFile);
    settings_.Tiled = Settings().Tiled;
    if (!pitscheck->isChecked())
        pitscheck->setChecked(true);
    mainWindow_.RepaintMainWindow();
    if (!failed.isEmpty())
        ShowMessage(this, QMessageBox::Critical, MessageTitle,
                QStringLiteral("These pictures could not be loaded; the pictures in use are kept:\n") +
                    failed.join(QLatin1Char('\n')));
}

void TControlForm::PiececomboChange(const QString &text)
{
    const std::optional<std::int32_t> number = ParseInteger(text.toStdString());
    pieceTextValid_ = number && *number >= 1 && *number <= 20;
    // Outside 1..20 there is no picture to show or choose: the last valid number stays.
    piecebutton->setEnabled(pieceTextValid_);
    if (!pieceTextValid_)
        return;
    pieceNumber_ = *number;
    pieceimage->setPixmap(*pictures_.Piece(pieceNumber_));
    piecebutton->SetFileName(FileNameOf(settings_.PieceFiles[static_cast<std::size_t>(pieceNumber_)]));
}

void TControlForm::PictureClick(PicturePanel *panel, PictureSlot slot)
{
    if (slot == PictureSlot::Piece && !pieceTextValid_)
        return;
    const int index = slot == PictureSlot::Piece ? pieceNumber_ : 0;
    panel->SetSunken(true);
    bool changed = false;
    const std::optional<QString> chosen = chooseFile_(this, PictureFile(slot));
    if (chosen && !chosen->isEmpty()) {
        if (!SettingsFileCanKeep(*chosen)) {
            ShowMessage(this, QMessageBox::Warning, MessageTitle,
                    QStringLiteral("This file name cannot be kept in the settings file, because it holds a line "
                                   "break or ends in a blank. Please rename the file or choose another one.\n") +
                        *chosen);
        } else if (!pictures_.Reload(slot, index, *chosen)) {
            ShowMessage(this, QMessageBox::Critical, MessageTitle,
                    QStringLiteral("The picture could not be loaded; the picture in use is kept.\n") + *chosen);
        } else {
            PictureSetting(slot) = QFile::encodeName(*chosen).toStdString();
            // Only what the pick changed: the rest of the dialog may hold typed values that
            // OK has not taken yet.
            ShowPicture(slot);
            changed = true;
        }
    }
    panel->SetSunken(false);
    if (changed)
        mainWindow_.RepaintMainWindow();
}

void TControlForm::ShowPicture(PictureSlot slot)
{
    switch (slot) {
    case PictureSlot::Piece:
        pieceimage->setPixmap(*pictures_.Piece(pieceNumber_));
        piecebutton->SetFileName(FileNameOf(settings_.PieceFiles[static_cast<std::size_t>(pieceNumber_)]));
        break;
    case PictureSlot::Background:
        backgroundbutton->SetFileName(FileNameOf(settings_.BackgroundFile));
        break;
    case PictureSlot::Pit:
        pitimage->setPixmap(pictures_.Pit);
        pitbutton->SetFileName(FileNameOf(settings_.PitFile));
        break;
    case PictureSlot::Blank:
        blankimage->setPixmap(pictures_.Blank);
        blankbutton->SetFileName(FileNameOf(settings_.BlankFile));
        break;
    }
}

void TControlForm::PitscheckClick()
{
    const bool on = pitscheck->isChecked();
    beveledit->setEnabled(on);
    emit PitBevelChanged(on, beveledit->currentIndex() + 1);
}

QString TControlForm::PictureFile(PictureSlot slot) { return FileNameText(PictureSetting(slot)); }

std::string &TControlForm::PictureSetting(PictureSlot slot)
{
    switch (slot) {
    case PictureSlot::Blank: return settings_.BlankFile;
    case PictureSlot::Pit: return settings_.PitFile;
    case PictureSlot::Background: return settings_.BackgroundFile;
    case PictureSlot::Piece: break;
    }
    return settings_.PieceFiles[static_cast<std::size_t>(pieceNumber_)];
}

void TControlForm::ShowIntegerError(const QString &text)
{
    ShowMessage(this, QMessageBox::Critical, MessageTitle,
            QString::fromStdString(InvalidIntegerMessage(text.toStdString())));
}

} // namespace vorlix
