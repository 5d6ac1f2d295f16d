#include "settings/dialog/ControlForm.h"

#include "settings/dialog/PicturePanel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

namespace vorlix {

namespace {

class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 8;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

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

// Ctrl+Tab and Ctrl+PageDown turn to the next page, Ctrl+Shift+Tab and Ctrl+PageUp to the
// previous one, wherever the focus is in the dialog. A tab widget sees them only while the focus
// is on one of its pages, so they are taken at the dialog's window, before any control; a key
// capture takes every key before this.
class PageKeys : public QObject {
public:
    PageKeys(TControlForm &form) : QObject(&form), form_(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int step = Step(*static_cast<QKeyEvent *>(event));
        if (step == 0)
            return QObject::eventFilter(watched, event);
        form_.TurnPage(step);
        return true;
    }

private:
    static int Step(const QKeyEvent &key)
    {
        const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
        const Qt::KeyboardModifiers controlShift = Qt::ControlModifier | Qt::ShiftModifier;
        switch (key.key()) {
        case Qt::Key_Tab:
            return modifiers == Qt::ControlModifier ? 1 : modifiers == controlShift ? -1 : 0;
        case Qt::Key_Backtab: // Shift+Tab as X reports it
            return modifiers == controlShift || modifiers == Qt::ControlModifier ? -1 : 0;
        case Qt::Key_PageDown:
            return modifiers == Qt::ControlModifier ? 1 : 0;
        case Qt::Key_PageUp:
            return modifiers == Qt::ControlModifier ? -1 : 0;
        default:
            return 0;
        }
    }

    TControlForm &form_;
};

std::optional<QString> ChooseWithFileDialog(QWidget *parent, const QString &current)
{
    QFileDialog dialog(parent, QStringLiteral("Open"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Bitmaps (*.bmp);;Midi (*.mid);;Wave's (*.wav)"));
    const QFileInfo info(current);
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

TControlForm::TControlForm(Settings &settings, PictureSet &pictures, SettingsDialogHooks hooks)
    : settings_(settings), pictures_(pictures), hooks_(std::move(hooks)), chooseFile_(ChooseWithFileDialog)
{
    setObjectName(QStringLiteral("ControlForm"));
    MakeDialogWindow(this, QStringLiteral("Settings"), 388, 289);

    PlayerControls = new QTabWidget(this);
    PlayerControls->setObjectName(QStringLiteral("PlayerControls"));
    PlayerControls->setAccessibleName(QStringLiteral("Settings pages"));
    PlayerControls->setGeometry(4, 4, 380, 246);
    // Six captions in 380 pixels: narrow padding keeps every tab in view.
    auto *tabStyle = new CompactTabStyle;
    tabStyle->setParent(PlayerControls);
    PlayerControls->tabBar()->setStyle(tabStyle);
    PlayerControls->setUsesScrollButtons(false);

    const struct {
        const char *name;
        const char *caption;
    } pages[] = {{"Tabgameplay", "Gameplay"}, {"TabScoring", "Scoring"}, {"TabGraphics", "Graphics"},
                 {"TabAudio", "Audio"}, {"TabPlayer1", "Player 1 Controls"}, {"TabPlayer2", "Player 2 Controls"}};
    for (const auto &page : pages) {
        auto *widget = new QWidget;
        widget->setObjectName(QString::fromLatin1(page.name));
        widget->setAccessibleName(QString::fromLatin1(page.caption));
        PlayerControls->addTab(widget, QString::fromLatin1(page.caption));
    }
    BuildGameplayTab(PlayerControls->widget(Tabgameplay));
    BuildScoringTab(PlayerControls->widget(TabScoring));
    BuildGraphicsTab(PlayerControls->widget(TabGraphics));
    BuildAudioTab(PlayerControls->widget(TabAudio));
    BuildPlayerTab(PlayerControls->widget(TabPlayer1), 1);
    BuildPlayerTab(PlayerControls->widget(TabPlayer2), 2);
    // No sound is ever played.
    PlayerControls->setTabEnabled(TabAudio, false);
    PlayerControls->widget(TabAudio)->setEnabled(false);
    PlayerControls->setCurrentIndex(Tabgameplay);

    Defaults = MakeFlatButton(this, QStringLiteral("Defaults"), QStringLiteral("&Defaults"),
                          QStringLiteral("Defaults of this page"), {8, 255, 90, 28});
    Setbtn = MakeFlatButton(this, QStringLiteral("Setbtn"), QStringLiteral("&Set Controls"),
                        QStringLiteral("Set Controls"), {149, 255, 90, 28});
    OkBtn = MakeFlatButton(this, QStringLiteral("OkBtn"), QStringLiteral("&Ok"), QStringLiteral("OK"),
                       {290, 255, 90, 28});
    connect(Defaults, &QPushButton::clicked, this, &TControlForm::DefaultsClick);
    connect(Setbtn, &QPushButton::clicked, this, &TControlForm::SetBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &TControlForm::OkBtnClick);
    connect(PlayerControls, &QTabWidget::currentChanged, this, &TControlForm::UpdateButtons);

    ConnectGameplay();
    ConnectGraphics();
    UpdateButtons();
    windowHandle()->installEventFilter(new PageKeys(*this));
}

void TControlForm::TurnPage(int step)
{
    if (CapturingKeys())
        return;
    const int count = PlayerControls->count();
    int page = PlayerControls->currentIndex();
    for (int tried = 0; tried < count; ++tried) {
        page = (page + step + count) % count;
        if (PlayerControls->isTabEnabled(page)) {
            PlayerControls->setCurrentIndex(page);
            return;
        }
    }
}

TControlForm::~TControlForm()
{
    if (CapturingKeys())
        qApp->removeEventFilter(this);
}

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
    gravityGroup_ = new QButtonGroup(this);
    downradio = MakeRadio(page, QStringLiteral("downradio"), QStringLiteral("Down"),
                          QStringLiteral("Gravity down"), {206, 36, 120, 20});
    upradio = MakeRadio(page, QStringLiteral("upradio"), QStringLiteral("Up"), QStringLiteral("Gravity up"),
                        {206, 62, 120, 20});
    gravityGroup_->addButton(downradio);
    gravityGroup_->addButton(upradio);
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
    backgroundGroup_ = new QButtonGroup(this);
    TileRadio = MakeRadio(page, QStringLiteral("TileRadio"), QStringLiteral("Tile"),
                          QStringLiteral("Tile the background"), {196, 54, 60, 20});
    StretchRadio = MakeRadio(page, QStringLiteral("StretchRadio"), QStringLiteral("Stretch"),
                             QStringLiteral("Stretch the background"), {262, 54, 90, 20});
    backgroundGroup_->addButton(TileRadio);
    backgroundGroup_->addButton(StretchRadio);
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
    const int rows = player == 1 ? 6 : 5;
    for (int row = 0; row < rows; ++row) {
        const int top = 16 + 26 * row;
        const QString action = QString::fromLatin1(actions[row]);
        MakeBold(MakeLabel(page, action + number + QStringLiteral("Caption"), 40, top, action));
        // The bonus key is player 1's alone, and its label has no number.
        const QString name = QString::fromLatin1(labels[row]) + (row == 5 ? QString() : number);
        QLabel *value = MakeLabel(page, name, 150, top);
        value->setFixedSize(200, 18);
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (player == 1)
            Player1Keys[static_cast<std::size_t>(row)] = value;
        else
            Player2Keys[static_cast<std::size_t>(row)] = value;
    }
}

void TControlForm::ConnectGameplay()
{
    connect(radioseconds, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(1); });
    connect(radioLines, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(2); });
    connect(Radiopieces, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(3); });
    connect(secondsEdit, &QLineEdit::textChanged, this, [this] { LevelEditChange(secondsEdit, &Settings::LevelChangeTime); });
    connect(LinesEdit, &QLineEdit::textChanged, this, [this] { LevelEditChange(LinesEdit, &Settings::LevelChangeLines); });
    connect(piecesEdit, &QLineEdit::textChanged, this, [this] { LevelEditChange(piecesEdit, &Settings::LevelChangePieces); });
    connect(downradio, &QRadioButton::toggled, this, [this](bool on) {
        if (!filling_ && on)
            settings_.GravityDown = true;
    });
    connect(upradio, &QRadioButton::toggled, this, [this](bool on) {
        if (!filling_ && on)
            settings_.GravityDown = false;
    });
}

void TControlForm::ConnectGraphics()
{
    connect(piececombo, &QComboBox::editTextChanged, this, &TControlForm::PiececomboChange);
    connect(piecebutton, &QPushButton::clicked, this, [this] { PictureClick(piecebutton, PictureSlot::Piece); });
    connect(backgroundbutton, &QPushButton::clicked, this, [this] { PictureClick(backgroundbutton, PictureSlot::Background); });
    connect(pitbutton, &QPushButton::clicked, this, [this] { PictureClick(pitbutton, PictureSlot::Pit); });
    connect(blankbutton, &QPushButton::clicked, this, [this] { PictureClick(blankbutton, PictureSlot::Blank); });
    connect(TileRadio, &QRadioButton::toggled, this, [this] {
        if (filling_)
            return;
        settings_.Tiled = TileRadio->isChecked();
        hooks_.Repaint();
    });
    connect(pitscheck, &QCheckBox::toggled, this, &TControlForm::PitscheckClick);
    connect(beveledit, &QComboBox::currentIndexChanged, this, &TControlForm::PitscheckClick);
}

} // namespace vorlix
