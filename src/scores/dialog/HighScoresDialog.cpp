#include "scores/dialog/HighScoresDialog.h"

#include "ui/GameFont.h"
#include "ui/Widgets.h"
#include "ui/WindowHints.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace vorlix {

namespace {

constexpr int FirstRowTop = 64;
constexpr int RowStep = 16;
constexpr int RowHeight = 15;

// Names (the one left-aligned column) show whole, narrowed as needed. Numbers too long for
// their column show shortened with "…", whole in the tooltip: a number cut at its edge would
// read as another number.
QLabel *MakeCell(QWidget *parent, const QString &name, const QString &accessibleName, int left,
                 int top, int width, Qt::Alignment alignment)
{
    auto *label = new FitLabel(parent, alignment == Qt::AlignLeft);
    label->setObjectName(name);
    label->setAccessibleName(accessibleName);
    label->move(left, top);
    label->setFixedSize(width, RowHeight);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QString ModeText(std::uint8_t mode)
{
    if (mode == 0)
        return {};
    const char letter = static_cast<char>(mode);
    return QString::fromLatin1(&letter, 1);
}

} // namespace

THighScores::THighScores(const Settings &settings, HighScores &scores, MainWindowLink &mainWindow)
    : OkDialog(mainWindow), settings_(settings), scores_(scores)
{
    setObjectName(QStringLiteral("HighScores"));
    MakeDialogWindow(this, QStringLiteral("High Scores"), 421, 268);

    MakeBevel(this, QStringLiteral("Bevel2"), 6, 4, 410, 29);
    MakeBevel(this, QStringLiteral("Bevel1"), 5, 40, 410, 195);
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel3"));
    line->setFrameStyle(QFrame::HLine | QFrame::Raised);
    line->setGeometry(8, 61, 403, 2);

    EasyRadio = MakeRadio(this, QStringLiteral("EasyRadio"), QStringLiteral("Easy"), QStringLiteral("Easy table"), {13, 7, 81, 20});
    MediumRadio = MakeRadio(this, QStringLiteral("MediumRadio"), QStringLiteral("Medium"), QStringLiteral("Medium table"), {170, 8, 81, 20});
    HardRadio = MakeRadio(this, QStringLiteral("HardRadio"), QStringLiteral("Hard"), QStringLiteral("Hard table"), {342, 8, 69, 20});
    connect(EasyRadio, &QRadioButton::toggled, this, [this](bool on) { if (on) ShowTable(scores_.EasyScores); });
    connect(MediumRadio, &QRadioButton::toggled, this, [this](bool on) { if (on) ShowTable(scores_.MediumScores); });
    connect(HardRadio, &QRadioButton::toggled, this, [this](bool on) { if (on) ShowTable(scores_.HardScores); });

    const struct {
        const char *text;
        int left;
    } headers[] = {{"Name", 40}, {"Mode", 150}, {"Level", 185}, {"Lines", 227},
                   {"Pieces", 270}, {"Bonuses", 314}, {"Score", 372}};
    for (const auto &header : headers) {
        const QString text = QString::fromLatin1(header.text);
        MakeBold(MakeLabel(this, text + QStringLiteral("Header"), header.left, 47, text));
    }

    for (int n = 1; n <= HighScorePlaces; ++n) {
        const int top = FirstRowTop + RowStep * (n - 1);
        const QString num = QString::number(n);
        const QString place = QStringLiteral("Place ") + num + QLatin1Char(' ');
        Row &row = Rows[n - 1];
        MakeBold(MakeLabel(this, QStringLiteral("Label") + num, 21, top, num));
        row.Name = MakeCell(this, QStringLiteral("Name") + num, place + QStringLiteral("name"), 41, top, 120, Qt::AlignLeft);
        row.Mode = MakeLabel(this, QStringLiteral("Label") + QString::number(n + 10), 166, top);
        row.Mode->setAccessibleName(place + QStringLiteral("mode"));
        MakeBold(row.Mode);
        row.Level = MakeCell(this, QStringLiteral("level") + num, place + QStringLiteral("level"), 186, top, 34, Qt::AlignRight);
        row.Lines = MakeCell(this, QStringLiteral("lines") + num, place + QStringLiteral("lines"), 228, top, 34, Qt::AlignRight);
        row.Pieces = MakeCell(this, QStringLiteral("pieces") + num, place + QStringLiteral("pieces"), 271, top, 34, Qt::AlignRight);
        row.Bonuses = MakeCell(this, QStringLiteral("bonuses") + num, place + QStringLiteral("bonuses"), 315, top, 34, Qt::AlignRight);
        row.Score = MakeCell(this, QStringLiteral("Score") + num, place + QStringLiteral("score"), 360, top, 50, Qt::AlignRight);
    }

    Clear = MakeFlatButton(this, QStringLiteral("Clear"), QStringLiteral("&Clear"),
                           QStringLiteral("Clear all high scores"), {14, 236, 50, 32});
    Button1 = MakeFlatButton(this, QStringLiteral("Button1"), QStringLiteral("&OK"), QStringLiteral("OK"),
                             {363, 236, 50, 32});
    connect(Clear, &QPushButton::clicked, this, &THighScores::ClearClick);
    connect(Button1, &QPushButton::clicked, this, &THighScores::Button1Click);
}

void THighScores::ShowFromMenu()
{
    mainWindow_.Hold(this);
    Present();
}

void THighScores::ShowFromSummary() { Present(); }

void THighScores::Present()
{
    FormShow();
    PresentDialog(this, mainWindow_.Window(), EasyRadio);
}

void THighScores::FormShow()
{
    if (const auto difficulty = settings_.DifficultyIndex()) {
        ShowTable(*TableForDifficulty(scores_, difficulty));
        std::array{EasyRadio, MediumRadio, HardRadio}[*difficulty]->setChecked(true);
    }
}

void THighScores::ShowTable(const HighScoreTable &table)
{
    for (int i = 0; i < HighScorePlaces; ++i) {
        const HighScoreEntry &entry = table[i];
        Row &row = Rows[i];
        row.Name->setText(QString::fromLatin1(EntryName(entry)));
        row.Mode->setText(ModeText(entry.Mode));
        row.Mode->adjustSize();
        row.Level->setText(QString::number(entry.Level));
        row.Lines->setText(QString::number(entry.Lines));
        row.Pieces->setText(QString::number(entry.Pieces));
        row.Bonuses->setText(QString::number(entry.Bonuses));
        row.Score->setText(QString::number(entry.Score));
    }
}

void THighScores::ClearClick()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                    QStringLiteral("Are you sure you want to clear highscores?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        return;
    ClearHighScores(scores_);
    FormShow();
}

void THighScores::Button1Click()
{
    mainWindow_.Release(this);
    mainWindow_.RepaintMainWindow();
    hide();
}

} // namespace vorlix
