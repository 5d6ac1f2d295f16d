#include "settings/dialog/ControlForm.h"

#include "settings/dialog/PicturePanel.h"
#include "ui/Widgets.h"
#include "ui/WindowHints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
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

TControlForm::TControlForm(Settings &settings, PictureSet &pictures, MainWindowLink &mainWindow)
    : OkDialog(mainWindow), settings_(settings), pictures_(pictures), chooseFile_(ChooseWithFileDialog)
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

void TControlForm::ConnectGameplay()
{
    connect(radioseconds, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(LevelRule::Time); });
    connect(radioLines, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(LevelRule::Lines); });
    connect(Radiopieces, &QRadioButton::toggled, this, [this](bool on) { if (on) LevelRuleClick(LevelRule::Pieces); });
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
        mainWindow_.RepaintMainWindow();
    });
    connect(pitscheck, &QCheckBox::toggled, this, &TControlForm::PitscheckClick);
    connect(beveledit, &QComboBox::currentIndexChanged, this, &TControlForm::PitscheckClick);
}

} // namespace vorlix
