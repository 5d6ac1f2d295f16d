#pragma once

#include "render/PictureSet.h"
#include "settings/Settings.h"
#include "settings/dialog/ControlForm.h"
#include "settings/dialog/PicturePanel.h"
#include "../common/FakeMainWindow.h"
#include "../common/MessageBoxAnswerer.h"
#include "../common/TempDir.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlix {

// The box a number that does not parse brings up.
inline SeenBox NotAnInteger(const QString &text)
{
    return {QMessageBox::Critical, QStringLiteral("Vorlix"), QStringLiteral("'%1' is not a valid integer value").arg(text)};
}

using Codes = std::vector<std::int32_t>;

// Each player's keys in the order Set Controls takes them: rotate, drop, down, left, right, bonus.
inline Codes Player1Codes(const Settings &s) { return {s.P1Up, s.P1DownFast, s.P1DownSlow, s.P1Left, s.P1Right, s.P1Bonus}; }
inline Codes Player2Codes(const Settings &s) { return {s.P2Up, s.P2DownFast, s.P2DownSlow, s.P2Left, s.P2Right}; }

// The key names a tab shows, in the same order.
template <std::size_t N> std::vector<std::string> Shown(const std::array<QLabel *, N> &labels)
{
    std::vector<std::string> texts;
    for (const QLabel *label : labels)
        texts.push_back(label->text().toStdString());
    return texts;
}

// The dialog over a game folder of solid-colour pictures, with the main window replaced by a
// recorder of what the dialog asks of it.
class SettingsDialogTest : public ::testing::Test, public FakeMainWindow {
protected:
    SettingsDialogTest()
    {
        gameDir = dir.Path();
        for (int n = 1; n <= 20; ++n)
            WritePicture(QStringLiteral("piece%1.bmp").arg(n), PieceColour(n));
        WritePicture(QStringLiteral("pit.bmp"), PitColour);
        WritePicture(QStringLiteral("blank.bmp"), BlankColour);
        WritePicture(QStringLiteral("bg.bmp"), qRgb(0, 0, 200), 64);
        settings = MakeDefaultSettings(gameDir);
        EXPECT_TRUE(pictures.LoadAll(settings));
        form = std::make_unique<TControlForm>(settings, pictures, *this);
        form->SetFileChooser([this](QWidget *, const QString &current) {
            offeredPaths << current;
            return nextChoice;
        });
        QObject::connect(form.get(), &TControlForm::LevelTimeChanged,
                         [this] { timerSeconds.push_back(settings.LevelChangeTime); });
        QObject::connect(form.get(), &TControlForm::PitBevelChanged, [this](bool on, int width) { bevel = {on, width}; });
        QObject::connect(form.get(), &TControlForm::Accepted, [this] { ++readjusts; });

        answerer.AnswerEvery();
    }
    ~SettingsDialogTest() override
    {
        answerer.Stop();
        form->hide();
    }

    static QRgb PieceColour(int n) { return qRgb(10 * n, 0, 0); }
    static constexpr QRgb PitColour = qRgb(0, 255, 0);
    static constexpr QRgb BlankColour = qRgb(255, 0, 255);

    QString WritePicture(const QString &name, QRgb colour, int size = 16)
    {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = Path(name);
        EXPECT_TRUE(image.save(path, "BMP")) << path.toStdString();
        return path;
    }

    QString Path(const QString &name) const { return QString::fromStdString(gameDir) + name; }

    static QRgb Colour(const QPixmap &pixmap) { return pixmap.toImage().pixel(1, 1); }

    void Open() { form->ShowFromMenu(); }
    void ShowPage(TControlForm::Page page) { form->PlayerControls->setCurrentIndex(page); }

    // A key press and release through the window system's path into the dialog's window.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form->windowHandle(), key, modifiers);
    }

    // Replaces the text of an edit by typing, as a player does.
    static void Type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    test::TempDir dir;
    std::string gameDir;
    Settings settings;
    PictureSet pictures;
    std::vector<std::int32_t> timerSeconds; // LevelChangeTime at each change of the level timer
    std::optional<std::pair<bool, int>> bevel; // the last bevel asked for player 1's pit
    int readjusts = 0; // the main window laid out again
    std::optional<QString> nextChoice;
    QStringList offeredPaths;
    // Every message box is answered with its OK (or first) button.
    MessageBoxAnswerer answerer;
    std::vector<SeenBox> &boxes = answerer.seen;
    std::unique_ptr<TControlForm> form;
};

} // namespace vorlix
