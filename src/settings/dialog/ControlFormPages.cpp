#include "settings/dialog/ControlForm.h"

#include "settings/dialog/PicturePanel.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace vorlix {

namespace {

QLineEdit *MakeEdit(QWidget *parent, const QString &name, const QString &accessibleName, QRect place)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setGeometry(place);
    return edit;
}

PicturePanel *MakePanel(QWidget *parent, const QString &name, const QString &role, QRect place)
{
    auto *panel = new PicturePanel(name, role, parent);
    panel->setGeometry(place);
    return panel;
}

QLabel *MakeImage(QWidget *parent, const QString &name, const QString &accessibleName, QPoint place)
{
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setAccessibleName(accessibleName);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setGeometry(QRect(place, QSize(16, 16)));
    return image;
}

QComboBox *MakeNumberCombo(QWidget *parent, const QString &name, const QString &accessibleName,
                           int count, QRect place)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(accessibleName);
    for (int n = 1; n <= count; ++n)
        combo->addItem(QString::number(n));
    combo->setGeometry(place);
    return combo;
}

void MakeUnderlinedBold(QLabel *label)
{
    MakeBold(label);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->adjustSize();
}

} // namespace

void TControlForm::BuildGameplayTab(QWidget *page)
{
    page->setToolTip(QStringLiteral("Enables you to change what triggers the game to proceed to the next level; "
                                    "as well as dictating the sensitivity of the keyboard"));
    MakeBold(MakeLabel(page, QStringLiteral("LevelLabel"), 10, 10, QStringLiteral("Level changes every:")));
    MakeBevel(page, QStringLiteral("LevelBevel"), 10, 28, 170, 92);
    levelGroup_ = new QButtonGroup(this);
    const struct {
        const char *radio;
        const char *edit;
        const char *unit;
        QRadioButton **radioOut;
        QLineEdit **editOut;
    } rows[] = {{"radioseconds", "secondsEdit", "seconds", &radioseconds, &secondsEdit},
                {"radioLines", "LinesEdit", "lines", &radioLines, &LinesEdit},
                {"Radiopieces", "piecesEdit", "pieces", &Radiopieces, &piecesEdit}};
    int top = 36;
    int id = 1;
    for (const auto &row : rows) {
        const QString unit = QString::fromLatin1(row.unit);
        *row.radioOut = MakeRadio(page, QString::fromLatin1(row.radio), {},
                                  QStringLiteral("Level changes by ") + unit, {20, top, 18, 20});
        *row.editOut = MakeEdit(page, QString::fromLatin1(row.edit),
                                QStringLiteral("Level changes every so many ") + unit, {42, top, 60, 20});
        (*row.editOut)->setEnabled(false);
        MakeLabel(page, unit + QStringLiteral("Label"), 110, top + 3, unit);
        levelGroup_->addButton(*row.radioOut, id++);
        top += 28;
    }

    MakeBold(MakeLabel(page, QStringLiteral("GravityLabel"), 196, 10, QStringLiteral("Direction of gravity:")));
    MakeBevel(page, QStringLiteral("GravityBevel"), 196, 28, 160, 64);
    auto *gravity = new QButtonGroup(this);
    downradio = MakeRadio(page, QStringLiteral("downradio"), QStringLiteral("Down"),
                          QStringLiteral("Gravity down"), {206, 36, 120, 20});
    upradio = MakeRadio(page, QStringLiteral("upradio"), QStringLiteral("Up"), QStringLiteral("Gravity up"),
                        {206, 62, 120, 20});
    gravity->addButton(downradio);
    gravity->addButton(upradio);
}

void TControlForm::BuildScoringTab(QWidget *page)
{
    page->setToolTip(QStringLiteral("Lets you choose how many points you receive upon clearing 1,2,3 or 4 lines"));
    const char *rowCaptions[] = {"One Line:", "Two Lines:", "Three Lines:", "Four Lines:", "Bonus:"};
    // Columns in tab order; `order` indexes ScoringEdits, which is in the order OK takes them.
    const struct {
        const char *heading;
        const char *mode;
        const char *prefix;
        int left;
        int order[5];
    } columns[] = {{"Points Mode Scoring", "Points", "P", 10, {4, 5, 6, 7, 9}},
                   {"Aggressive Mode Scoring", "Aggressive", "A", 190, {0, 1, 2, 3, 8}}};
    const char *editNames[] = {"One", "Two", "Three", "Four", "Bonus"};
    for (const auto &column : columns) {
        const QString prefix = QString::fromLatin1(column.prefix);
        MakeBold(MakeLabel(page, prefix + QStringLiteral("Heading"), column.left, 8,
                           QString::fromLatin1(column.heading)));
        for (int row = 0; row < 5; ++row) {
            const int top = 32 + 30 * row;
            const QString caption = QString::fromLatin1(rowCaptions[row]);
            MakeLabel(page, prefix + QString::fromLatin1(editNames[row]) + QStringLiteral("Label"),
                      column.left + 4, top + 3, caption);
            QString accessible = QString::fromLatin1(column.mode) + QStringLiteral(" mode ") + caption;
            accessible.chop(1);
            ScoringEdits[static_cast<std::size_t>(column.order[row])] =
                MakeEdit(page, prefix + QString::fromLatin1(editNames[row]) + QStringLiteral("Edit"), accessible,
                         {column.left + 86, top, 70, 20});
        }
    }
}

void TControlForm::BuildGraphicsTab(QWidget *page)
{
    MakeBold(MakeLabel(page, QStringLiteral("PieceLabel"), 10, 8, QStringLiteral("Piece:")));
    piececombo = MakeNumberCombo(page, QStringLiteral("piececombo"), QStringLiteral("Piece number"), 20,
                                 {10, 26, 48, 22});
    piececombo->setEditable(true);
    piececombo->setInsertPolicy(QComboBox::NoInsert);
    piececombo->setCompleter(nullptr); // the typed text is the number, never a completion of it
    pieceimage = MakeImage(page, QStringLiteral("pieceimage"), QStringLiteral("Piece picture"), {64, 29});
    piecebutton = MakePanel(page, QStringLiteral("piecebutton"), QStringLiteral("Piece picture file"),
                            {86, 26, 96, 22});

    MakeBold(MakeLabel(page, QStringLiteral("BackgroundLabel"), 196, 8, QStringLiteral("Background:")));
    backgroundbutton = MakePanel(page, QStringLiteral("backgroundbutton"), QStringLiteral("Background picture file"),
                                 {196, 26, 96, 22});
    auto *background = new QButtonGroup(this);
    TileRadio = MakeRadio(page, QStringLiteral("TileRadio"), QStringLiteral("Tile"),
                          QStringLiteral("Tile the background"), {196, 54, 60, 20});
    StretchRadio = MakeRadio(page, QStringLiteral("StretchRadio"), QStringLiteral("Stretch"),
                             QStringLiteral("Stretch the background"), {262, 54, 90, 20});
    background->addButton(TileRadio);
    background->addButton(StretchRadio);
    TileRadio->setChecked(true);

    MakeBold(MakeLabel(page, QStringLiteral("PitLabel"), 10, 96, QStringLiteral("Pit Piece:")));
    pitimage = MakeImage(page, QStringLiteral("pitimage"), QStringLiteral("Pit piece picture"), {10, 117});
    pitbutton = MakePanel(page, QStringLiteral("pitbutton"), QStringLiteral("Pit piece picture file"),
                          {32, 114, 96, 22});
    pitscheck = new QCheckBox(QStringLiteral("Pit is bevelled"), page);
    pitscheck->setObjectName(QStringLiteral("pitscheck"));
    pitscheck->setAccessibleName(QStringLiteral("Pit is bevelled"));
    pitscheck->setGeometry(10, 144, 108, 20);
    pitscheck->setChecked(true);
    beveledit = MakeNumberCombo(page, QStringLiteral("beveledit"), QStringLiteral("Bevel width"), 10,
                                {122, 142, 48, 22});
    beveledit->setCurrentIndex(6); // 7, the pit panel as laid out

    MakeBold(MakeLabel(page, QStringLiteral("BlankLabel"), 196, 96, QStringLiteral("Blank Piece:")));
    blankimage = MakeImage(page, QStringLiteral("blankimage"), QStringLiteral("Blank piece picture"), {196, 117});
    blankbutton = MakePanel(page, QStringLiteral("blankbutton"), QStringLiteral("Blank piece picture file"),
                            {218, 114, 96, 22});
}

void TControlForm::BuildAudioTab(QWidget *page)
{
    MakeUnderlinedBold(MakeLabel(page, QStringLiteral("WaveLabel"), 10, 8, QStringLiteral("Wave Files")));
    MakeUnderlinedBold(MakeLabel(page, QStringLiteral("MidiLabel"), 180, 8, QStringLiteral("Midi Files")));
    const struct {
        const char *caption;
        const char *panel;
        int left;
        int top;
        int width;
    } rows[] = {{"New level:", "LevelButton", 10, 28, 96},   {"Line Cleared:", "LineBUtton", 10, 54, 96},
                {"Fast Drop:", "DropButton", 10, 80, 96},    {"Bonus:", "BonusButton", 10, 106, 96},
                {"Points:", "PointsButton", 180, 28, 112}, {"Aggressive:", "AggressiveButton", 180, 54, 112}};
    std::size_t i = 0;
    for (const auto &row : rows) {
        const QString caption = QString::fromLatin1(row.caption);
        MakeLabel(page, QString::fromLatin1(row.panel) + QStringLiteral("Label"), row.left + 4, row.top + 4, caption);
        AudioPanels[i++] = MakePanel(page, QString::fromLatin1(row.panel), caption.chopped(1) + QStringLiteral(" sound file"),
                                     {row.left + 76, row.top, row.width, 22});
    }
}

void TControlForm::BuildPlayerTab(QWidget *page, int player)
{
    const char *actions[] = {"Rotate", "Drop", "Down", "Left", "Right", "Bonus"};
    const char *labels[] = {"lblrotate", "lbldrop", "lbldown", "lblleft", "lblright", "lblbonus"};
    const QString number = QString::number(player);
    const int rows = static_cast<int>(PlayerKeys(player - 1).size());
    for (int row = 0; row < rows; ++row) {
        const int top = 16 + 26 * row;
        const QString action = QString::fromLatin1(actions[row]);
        MakeBold(MakeLabel(page, action + number + QStringLiteral("Caption"), 40, top, action));
        // The bonus key is player 1's alone, and its label has no number.
        const QString name = QString::fromLatin1(labels[row]) + (row == 5 ? QString() : number);
        QLabel *value = MakeLabel(page, name, 150, top);
        value->setFixedSize(200, 18);
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        KeyLabel(player, static_cast<std::size_t>(row)) = value;
    }
}

} // namespace vorlix
