#include "settings/dialog/ControlForm.h"

#include "settings/KeyName.h"
#include "ui/KeyTranslation.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

namespace vorlix {

namespace {

constexpr const char *Actions[] = {"Rotate", "Drop", "Down", "Left", "Right", "Bonus"};

// Escape pauses, C exchanges the piece, F1 and F2 and Alt belong to the menus.
bool Reserved(std::int32_t code)
{
    return code == Key::C || code == Key::Alt || code == Key::Escape || code == Key::F1 || code == Key::F2;
}

// The box takes the keyboard: the releases of the keys held now go to it.
void RefuseKey(QWidget *parent, std::set<std::uint32_t> &heldKeys)
{
    ShowMessage(parent, QMessageBox::Information, QStringLiteral("Oi!"), QStringLiteral("Chosen Key is reserved choose another"));
    heldKeys.clear();
}

void ShowKey(QLabel *label, int player, int row, const QString &text, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setText(text);
    label->setAccessibleName(QStringLiteral("Player %1 %2 key: %3").arg(player).arg(QLatin1String(Actions[row]), text));
}

} // namespace

void TControlForm::SetBtnClick()
{
    const int page = PlayerControls->currentIndex();
    if (CapturingKeys() || (page != TabPlayer1 && page != TabPlayer2))
        return;
    capturePlayer_ = page == TabPlayer1 ? 1 : 2;
    captureRow_ = 0;
    heldKeys_.clear();
    // Every key of this window comes here first, before any control or shortcut sees it.
    qApp->installEventFilter(this);
    UpdateButtons();
    ShowKeyLabels();
    setFocus(Qt::OtherFocusReason);
}

void TControlForm::FormKeyDown(std::int32_t code)
{
    if (Reserved(code)) {
        RefuseKey(this, heldKeys_);
        return;
    }
    const std::span<const KeyBinding> keys = PlayerKeys(capturePlayer_ - 1);
    settings_.*keys[static_cast<std::size_t>(captureRow_)] = code;
    if (++captureRow_ == static_cast<int>(keys.size()))
        EndCapture();
    FormShow();
}

void TControlForm::EndCapture()
{
    captureRow_ = -1;
    qApp->removeEventFilter(this);
    UpdateButtons();
    Setbtn->setFocus(Qt::OtherFocusReason);
}

void TControlForm::ShowKeyLabels()
{
    for (int player = 1; player <= 2; ++player) {
        const std::span<const KeyBinding> keys = PlayerKeys(player - 1);
        for (std::size_t row = 0; row < keys.size(); ++row)
            ShowKey(KeyLabel(player, row), player, static_cast<int>(row),
                    QString::fromLatin1(KeyName(settings_.*keys[row])), Qt::black);
    }
    if (CapturingKeys())
        ShowKey(KeyLabel(capturePlayer_, static_cast<std::size_t>(captureRow_)), capturePlayer_, captureRow_,
                QStringLiteral("Select"), Qt::red);
}

QLabel *&TControlForm::KeyLabel(int player, std::size_t row)
{
    return player == 1 ? Player1Keys[row] : Player2Keys[row];
}

bool TControlForm::IsOwnKeyEvent(QObject *watched) const
{
    if (watched->isWidgetType())
        return static_cast<QWidget *>(watched)->window() == this;
    if (watched->isWindowType())
        return watched == windowHandle();
    return false;
}

bool TControlForm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!CapturingKeys() ||
        (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        !IsOwnKeyEvent(watched))
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Accepted: no shortcut or mnemonic fires; the key press follows and is taken below.
        event->accept();
        return true;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    // One long press binds one action. The X server repeats a held key as presses alone (the
    // main window asks it to), so a press of a key not yet released is a repeat too.
    const std::uint32_t physical = key->nativeScanCode() ? key->nativeScanCode() : static_cast<std::uint32_t>(key->key());
    if (type == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            heldKeys_.erase(physical);
        return true;
    }
    const bool repeat = key->isAutoRepeat() || !heldKeys_.insert(physical).second;
    // Events without a key code are no key at all.
    if (type == QEvent::KeyPress && !repeat && key->key() != 0) {
        // A key that would be stored as another key's code cannot be bound.
        if (const std::optional<std::int32_t> code = TranslateKey(key->key()))
            FormKeyDown(*code);
        else
            RefuseKey(this, heldKeys_);
    }
    return true;
}

} // namespace vorlix
