#include "DialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFile>
#include <QRadioButton>

namespace vorlix {
namespace {

using GraphicsTab = SettingsDialogTest;

// The check box and the width list set the bevel of player 1's pit; its geometry is the pit
// panel's own.
TEST_F(GraphicsTab, BevelControlsSetThePitBevel)
{
    Open();
    ShowPage(TControlForm::TabGraphics);
    EXPECT_TRUE(form->pitscheck->isChecked());
    EXPECT_EQ(form->beveledit->currentText(), "7");

    form->pitscheck->click();
    EXPECT_EQ(bevel, std::pair(false, 7));
    EXPECT_FALSE(form->beveledit->isEnabled());
    form->pitscheck->click();
    EXPECT_EQ(bevel, std::pair(true, 7));
    EXPECT_TRUE(form->beveledit->isEnabled());
    form->beveledit->setCurrentIndex(2);
    EXPECT_EQ(bevel, std::pair(true, 3));

    // Graphics defaults tick the box again and keep the width.
    form->pitscheck->click();
    form->Defaults->click();
    EXPECT_TRUE(form->pitscheck->isChecked());
    EXPECT_EQ(bevel, std::pair(true, 3));
}

TEST_F(GraphicsTab, TileAndStretchRepaintAtOnce)
{
    Open();
    form->StretchRadio->click();
    EXPECT_FALSE(settings.Tiled);
    EXPECT_EQ(repaints, 1);
    form->TileRadio->click();
    EXPECT_TRUE(settings.Tiled);
    EXPECT_EQ(repaints, 2);
}

TEST_F(GraphicsTab, ChoosingAPictureForPieceFiveChangesOnlyPieceFive)
{
    Open();
    ShowPage(TControlForm::TabGraphics);
    form->piececombo->lineEdit()->selectAll();
    QTest::keyClicks(form->piececombo->lineEdit(), "5");
    EXPECT_EQ(form->PieceNumber(), 5);
    EXPECT_EQ(form->piecebutton->FileName(), "piece5.bmp");
    EXPECT_EQ(form->pieceimage->pixmap().toImage().pixel(1, 1), PieceColour(5));

    const QString chosen = WritePicture("mine.bmp", qRgb(1, 2, 3));
    nextChoice = chosen;
    form->piecebutton->click();
    ASSERT_EQ(offeredPaths.size(), 1);
    EXPECT_EQ(offeredPaths[0], QString::fromStdString(gameDir + "piece5.bmp")) << "the current file is preselected";
    EXPECT_EQ(settings.PieceFiles[5], chosen.toStdString());
    EXPECT_EQ(Colour(pictures.Pieces[5]), qRgb(1, 2, 3)) << "reloaded in place";
    EXPECT_EQ(form->piecebutton->FileName(), "mine.bmp");
    EXPECT_EQ(form->pieceimage->pixmap().toImage().pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_FALSE(form->piecebutton->Sunken());
    EXPECT_EQ(repaints, 1);
    for (int n = 1; n <= 20; ++n) {
        if (n == 5)
            continue;
        EXPECT_EQ(settings.PieceFiles[static_cast<std::size_t>(n)], gameDir + "piece" + std::to_string(n) + ".bmp");
        EXPECT_EQ(Colour(pictures.Pieces[static_cast<std::size_t>(n)]), PieceColour(n)) << n;
    }

    // Cancelling the file dialog changes nothing.
    nextChoice.reset();
    form->pitbutton->click();
    EXPECT_EQ(settings.PitFile, gameDir + "pit.bmp");
    EXPECT_EQ(repaints, 1);
    EXPECT_FALSE(form->pitbutton->Sunken());
}

TEST_F(GraphicsTab, PickingAPictureKeepsValuesTypedButNotYetTaken)
{
    Open();
    ShowPage(TControlForm::TabScoring);
    Type(form->ScoringEdits[7], "1500"); // Points mode, four lines
    ShowPage(TControlForm::TabGraphics);
    for (PicturePanel *panel : {form->piecebutton, form->pitbutton}) {
        nextChoice = WritePicture("picked.bmp", qRgb(4, 5, 6));
        panel->click();
        EXPECT_EQ(form->ScoringEdits[7]->text(), "1500");
    }
    EXPECT_EQ(form->pitbutton->FileName(), "picked.bmp");
    EXPECT_EQ(Colour(form->pitimage->pixmap()), qRgb(4, 5, 6));
    form->OkBtn->click();
    EXPECT_EQ(settings.PFour, 1500);
}

TEST_F(GraphicsTab, APieceNumberOutsideOneToTwentyChangesNothing)
{
    Open();
    ShowPage(TControlForm::TabGraphics);
    form->piececombo->setCurrentIndex(2);
    EXPECT_EQ(form->PieceNumber(), 3);
    for (const char *text : {"0", "21", "-1", "x", "", "99999999999"}) {
        form->piececombo->setEditText(QString::fromLatin1(text));
        EXPECT_EQ(form->PieceNumber(), 3) << text;
        EXPECT_EQ(form->piecebutton->FileName(), "piece3.bmp") << text;
        EXPECT_EQ(form->pieceimage->pixmap().toImage().pixel(1, 1), PieceColour(3)) << text;
        EXPECT_FALSE(form->piecebutton->isEnabled()) << text;
    }
    nextChoice = WritePicture("other.bmp", qRgb(9, 9, 9));
    form->piecebutton->click();
    EXPECT_TRUE(offeredPaths.isEmpty()) << "no picture to choose for";
    EXPECT_EQ(settings.PieceFiles[3], gameDir + "piece3.bmp");
    EXPECT_TRUE(boxes.empty());

    form->piececombo->lineEdit()->selectAll();
    QTest::keyClicks(form->piececombo->lineEdit(), "20");
    EXPECT_EQ(form->PieceNumber(), 20);
    EXPECT_TRUE(form->piecebutton->isEnabled());
}

// Why it fails (missing, no picture, a pipe) is the picture loader's to tell.
TEST_F(GraphicsTab, APictureThatFailsToLoadKeepsTheOldPathAndPicture)
{
    Open();
    nextChoice = Path("missing.bmp");
    form->pitbutton->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes[0].text.contains(*nextChoice)) << boxes[0].text.toStdString();
    EXPECT_EQ(settings.PitFile, gameDir + "pit.bmp") << "the next start must still find its pictures";
    EXPECT_EQ(Colour(pictures.Pit), PitColour);
    EXPECT_EQ(form->pitbutton->FileName(), "pit.bmp");
    EXPECT_FALSE(form->pitbutton->Sunken());
    EXPECT_EQ(repaints, 0);
}

TEST_F(GraphicsTab, AFileNameTheSettingsFileCannotHoldIsRefused)
{
    Open();
    for (const char *name : {"two\nlines.bmp", "carriage\r.bmp", "blank.bmp "}) {
        boxes.clear();
        nextChoice = WritePicture(QString::fromLatin1(name), qRgb(7, 7, 7));
        form->blankbutton->click();
        ASSERT_EQ(boxes.size(), 1u) << name;
        EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(settings.BlankFile, gameDir + "blank.bmp");
        EXPECT_EQ(Colour(pictures.Blank), BlankColour);
    }
}

TEST_F(GraphicsTab, BackgroundChangeRepaintsAndDefaultsRestoreEveryPicture)
{
    Open();
    ShowPage(TControlForm::TabGraphics);
    nextChoice = WritePicture("sky.bmp", qRgb(0, 100, 255), 32);
    form->backgroundbutton->click();
    EXPECT_EQ(settings.BackgroundFile, nextChoice->toStdString());
    EXPECT_EQ(pictures.Background.size(), QSize(32, 32));
    EXPECT_EQ(form->backgroundbutton->FileName(), "sky.bmp");
    EXPECT_EQ(repaints, 1);

    nextChoice = WritePicture("dark.bmp", qRgb(20, 20, 20));
    form->blankbutton->click();
    form->StretchRadio->click();
    settings.PieceFiles[9] = Path("elsewhere.bmp").toStdString();
    QFile::remove(Path("pit.bmp")); // a default that can no longer be loaded
    const int before = repaints;

    form->Defaults->click();
    EXPECT_EQ(settings.BackgroundFile, gameDir + "bg.bmp");
    EXPECT_EQ(pictures.Background.size(), QSize(64, 64));
    EXPECT_EQ(settings.BlankFile, gameDir + "blank.bmp");
    EXPECT_EQ(Colour(pictures.Blank), BlankColour);
    EXPECT_EQ(settings.PieceFiles[9], gameDir + "piece9.bmp");
    EXPECT_TRUE(settings.Tiled);
    EXPECT_TRUE(form->TileRadio->isChecked());
    EXPECT_EQ(form->blankbutton->FileName(), "blank.bmp");
    EXPECT_GT(repaints, before);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains("pit.bmp"));
    EXPECT_EQ(Colour(pictures.Pit), PitColour) << "the picture in use stays";
}

TEST_F(GraphicsTab, TheFileDialogIsTitledOpenWithThreeFiltersAndTheCurrentFile)
{
    TControlForm real(settings, pictures, *this);
    real.ShowFromMenu();
    QString title;
    QStringList filters;
    QStringList selected;
    QTimer poll;
    poll.callOnTimeout([&] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            selected = dialog->selectedFiles();
            dialog->reject();
        }
    });
    poll.start(10);
    real.pitbutton->click();
    poll.stop();
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(filters, (QStringList{"Bitmaps (*.bmp)", "Midi (*.mid)", "Wave's (*.wav)"}));
    EXPECT_EQ(selected, QStringList{QString::fromStdString(gameDir + "pit.bmp")});
    EXPECT_EQ(settings.PitFile, gameDir + "pit.bmp");
    real.hide();
}

} // namespace
} // namespace vorlix
