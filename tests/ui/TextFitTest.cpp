// Every text the game shows fits its place: each label, button, radio button, check box, tab
// caption and status panel of every window, filled with the longest values it can show. A text
// too long for its place is shortened visibly with "…", never cut.

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "scores/dialog/HighScoresDialog.h"
#include "scores/dialog/SummaryDialog.h"
#include "settings/dialog/ControlForm.h"
#include "settings/dialog/PicturePanel.h"
#include "ui/GameFont.h"
#include "../common/FakeMainWindow.h"

#include "../common/TempDir.h"

#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QDir>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlix {
namespace {

const QString Ellipsis = QStringLiteral("\u2026");

// The part of `w` that its parents leave in view, in w's own coordinates.
QRect VisiblePart(const QWidget *w)
{
    const QWidget *window = w->window();
    const QPoint origin = w->mapTo(window, QPoint(0, 0));
    QRect seen(origin, w->size());
    for (const QWidget *a = w->parentWidget(); a && a != window; a = a->parentWidget())
        seen &= QRect(a->mapTo(window, QPoint(0, 0)), a->size());
    seen &= window->rect();
    return seen.translated(-origin);
}

QString Describe(const QWidget *w, const QString &text)
{
    const QString name = w->objectName().isEmpty() ? w->accessibleName() : w->objectName();
    return w->window()->windowTitle() + QStringLiteral(" / ") + name + QStringLiteral(" \"") + text + QLatin1Char('"');
}

// Collects every text that does not fit, with its measure. Only the labels in `mayShorten` may
// show their text shortened.
class TextFit {
public:
    explicit TextFit(QSet<const QWidget *> mayShorten) : mayShorten_(std::move(mayShorten)) {}

    void Window(QWidget *window)
    {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(window))
                continue;
            if (auto *label = qobject_cast<QLabel *>(w))
                Label(label);
            else if (auto *panel = qobject_cast<PicturePanel *>(w))
                Line(panel, panel->FileName(), panel->font(), panel->rect().adjusted(3, 1, -3, -1) & VisiblePart(panel));
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                Button(button);
            else if (auto *bar = qobject_cast<QTabBar *>(w))
                Tabs(bar);
        }
    }

    QStringList faults;

private:
    QSet<const QWidget *> mayShorten_;

    // Buttons, radio buttons and tabs underline their mnemonic letter; labels show plain text.
    void Line(const QWidget *w, const QString &text, const QFont &font, QRect room, bool mnemonic = false)
    {
        if (text.isEmpty())
            return;
        const QFontMetricsF metrics(font);
        const qreal width = mnemonic ? metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, text).width()
                                     : metrics.horizontalAdvance(text);
        if (width > room.width() || std::ceil(metrics.height()) > room.height())
            faults << Describe(w, text) + QStringLiteral(" needs %1 x %2, has %3 x %4")
                                              .arg(width, 0, 'f', 2)
                                              .arg(metrics.height(), 0, 'f', 1)
                                              .arg(room.width())
                                              .arg(room.height());
    }

    void Label(QLabel *label)
    {
        if (label->text().isEmpty())
            return;
        const int margin = label->margin();
        QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin) & VisiblePart(label);
        int indent = label->indent();
        if (indent < 0)
            indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        if (label->alignment() & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (label->alignment() & Qt::AlignRight)
            room.setRight(room.right() - indent);

        if (label->wordWrap()) {
            for (const QString &word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                Line(label, word, label->font(), room);
            if (label->heightForWidth(label->width()) > room.height())
                faults << Describe(label, label->text()) + QStringLiteral(" wraps to %1 pixels, has %2")
                                                              .arg(label->heightForWidth(label->width()))
                                                              .arg(room.height());
            return;
        }
        if (auto *fit = qobject_cast<FitLabel *>(label)) {
            const QString shown = fit->ShownText();
            if (shown != label->text() && (!mayShorten_.contains(label) || !shown.endsWith(Ellipsis) ||
                                           !label->text().startsWith(shown.chopped(1))))
                faults << Describe(label, label->text()) + QStringLiteral(" shows \"%1\"").arg(shown);
            Line(label, shown, fit->ShownFont(), room);
            return;
        }
        Line(label, label->text(), label->font(), room);
    }

    void Button(QAbstractButton *button)
    {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QRadioButton *>(button))
            contents = QStyle::SE_RadioButtonContents;
        else if (qobject_cast<QCheckBox *>(button))
            contents = QStyle::SE_CheckBoxContents;
        else if (auto *push = qobject_cast<QPushButton *>(button); push && push->isFlat())
            option.features |= QStyleOptionButton::Flat;
        const QRect room = button->style()->subElementRect(contents, &option, button) & VisiblePart(button);
        Line(button, button->text(), button->font(), room, true);
    }

    void Tabs(QTabBar *bar)
    {
        const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            const QRect seen = tab & VisiblePart(bar);
            Line(bar, bar->tabText(i), bar->font(), seen.adjusted(padding / 2, 0, -(padding - padding / 2), 0), true);
            if (seen != tab)
                faults << Describe(bar, bar->tabText(i)) + QStringLiteral(" tab is cut");
        }
    }
};

std::string Report(const QStringList &faults)
{
    return (QStringLiteral("font: ") + QFontInfo(GameFont()).family() + QStringLiteral(", scale ") +
            QString::number(qApp->devicePixelRatio()) + QStringLiteral("\n") + faults.join(QLatin1Char('\n')))
        .toStdString();
}

void ExpectFits(QWidget *window, const QSet<const QWidget *> &mayShorten = {})
{
    window->show();
    TextFit fit(mayShorten);
    fit.Window(window);
    EXPECT_TRUE(fit.faults.isEmpty()) << Report(fit.faults);
}

constexpr std::int32_t LongestScore = std::numeric_limits<std::int32_t>::min(); // "-2147483648"
constexpr std::uint32_t LongestCount = std::numeric_limits<std::uint32_t>::max();

class TextFitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseGameLook(*qApp); }

    void SetUp() override
    {
        for (const QString &name : {QStringLiteral("bg"), QStringLiteral("pit"), QStringLiteral("blank")})
            SavePicture(name);
        for (int n = 1; n <= 20; ++n)
            SavePicture(QStringLiteral("piece%1").arg(n));
        gameDir_ = temp_.Path();
    }

    void SavePicture(const QString &name)
    {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        ASSERT_TRUE(image.save(dir_.filePath(name + QStringLiteral(".bmp")), "BMP"));
    }

    test::TempDir temp_;
    QDir dir_{QFile::decodeName(temp_.Path().c_str())};
    std::string gameDir_;
    AppState app_;
    FakeMainWindow mainWindow_;
};

TEST_F(TextFitTest, StatusPanelsWithTheLongestLevelScoresAndBonuses)
{
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        MainWindow window(app_, gameDir_);
        app_.settings.Difficulty = "Medium";
        app_.settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
        window.ReAdjustSize();
        app_.game.Level = 255;
        for (PlayerState &player : app_.game.Players) {
            player.Score = LongestScore;
            player.Bonuses = 255;
        }
        Game(app_.game, app_.settings, window).WriteNewGameStatus();
        EXPECT_TRUE(std::ranges::any_of(window.findChildren<QLabel *>(),
                                        [](const QLabel *label) { return label->text() == "Medium: Level 255"; }));
        ExpectFits(&window);
        window.hide();
    }
}

TEST_F(TextFitTest, AboutBox)
{
    AboutBox about;
    ExpectFits(&about);
}

TEST_F(TextFitTest, HighScoresWithThirtyCharacterNamesAndTenDigitNumbers)
{
    THighScores dialog(app_.settings, app_.scores, mainWindow_);
    HighScoreTable &table = app_.scores.EasyScores;
    const std::string names[] = {std::string(30, 'W'), std::string(30, 'M'), "Katharina-Magdalena Schneider"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        HighScoreEntry &entry = table[i];
        std::copy(names[i].begin(), names[i].end(), entry.Name.begin());
        entry.Mode = 'A';
        entry.Score = i == 0 ? LongestCount : 4000000000u;
        entry.Level = entry.Lines = entry.Pieces = entry.Bonuses = LongestCount;
    }
    app_.settings.Difficulty = "Easy";
    dialog.FormShow();
    // Ten-digit counts may be shortened; names and a ten-digit score show whole.
    QSet<const QWidget *> mayShorten;
    for (const THighScores::Row &row : dialog.Rows)
        mayShorten += {row.Level, row.Lines, row.Pieces, row.Bonuses};
    ExpectFits(&dialog, mayShorten);

    // A shortened count shows whole where the pointer rests.
    QLabel *level = dialog.Rows[0].Level;
    QHelpEvent help(QEvent::ToolTip, level->rect().center(), level->mapToGlobal(level->rect().center()));
    QCoreApplication::sendEvent(level, &help);
    EXPECT_EQ(QToolTip::text(), QString::number(LongestCount));
    QToolTip::hideText();
}

TEST_F(TextFitTest, SummaryForOneAndTwoPlayers)
{
    THighScores highScores(app_.settings, app_.scores, mainWindow_);
    TSummery summary(app_.game, app_.settings, app_.scores, highScores, mainWindow_);
    app_.settings.Mode = "Aggressive";
    app_.settings.Difficulty = "Medium";
    app_.settings.ABonus = std::numeric_limits<std::int32_t>::max();
    app_.game.Level = 255;
    app_.game.Pieces = std::numeric_limits<std::int32_t>::max();
    app_.game.Player1Clears = std::numeric_limits<std::int32_t>::max();
    app_.game.Winner = 2;
    for (PlayerState &player : app_.game.Players) {
        player.Score = std::numeric_limits<std::int32_t>::max();
        player.Bonuses = 255;
    }
    for (int players : {1, 2}) {
        SCOPED_TRACE(players);
        app_.settings.NumberOfPlayers = static_cast<std::uint8_t>(players);
        summary.FormShow();
        ExpectFits(&summary);
    }
}

TEST_F(TextFitTest, SettingsDialogOnEveryTab)
{
    PictureSet pictures;
    app_.settings = MakeDefaultSettings(gameDir_);
    app_.settings.P1Up = 0x1026;    // Scroll Lock
    app_.settings.P1Right = 0x1014; // Right Arrow
    app_.settings.P2DownFast = 0x1012;
    TControlForm form(app_.settings, pictures, mainWindow_);
    form.FormShow();
    for (int tab = 0; tab < form.PlayerControls->count(); ++tab) {
        SCOPED_TRACE(form.PlayerControls->tabText(tab).toStdString());
        form.PlayerControls->setCurrentIndex(tab);
        ExpectFits(&form);
    }
}

} // namespace
} // namespace vorlix
