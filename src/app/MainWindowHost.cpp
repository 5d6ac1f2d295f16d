#include "app/MainWindow.h"

#include "app/StatusStrip.h"
#include "render/PitPanel.h"
#include "render/PitRenderer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>

namespace vorlix {

void MainWindow::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void MainWindow::DrawPits() { renderer_->DrawPits(); }

void MainWindow::BlankPits() { renderer_->BlankPits(); }

void MainWindow::PaintCell(int player, int x, int y, CellPicture picture) { renderer_->PaintCell(player, x, y, picture); }

void MainWindow::LevelFlash() { renderer_->LevelFlash(); }

void MainWindow::ClearPaintBoxes() { renderer_->ClearPaintBoxes(); }

void MainWindow::RepaintMainWindow()
{
    renderer_->BlankPits();
    client_->update();
}

void MainWindow::SetTimerEnabled(GameTimer timer, bool on)
{
    (timer == GameTimer::Gravity ? timer1_ : levelTimer_).SetEnabled(on);
}

void MainWindow::SetTimerInterval(GameTimer timer, std::int64_t milliseconds)
{
    (timer == GameTimer::Gravity ? timer1_ : levelTimer_).SetInterval(milliseconds);
}

void MainWindow::SetStatusText(int panel, const std::string &text) { status_->SetText(panel, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))); }

void MainWindow::SetPanelVisible(GamePanel panel, bool visible)
{
    QWidget *widget = nullptr;
    switch (panel) {
    case GamePanel::Logo: widget = logoPanel_; break;
    case GamePanel::Pause: widget = pausePanel_; break;
    case GamePanel::Preview1: widget = previewpanel_; break;
    case GamePanel::Preview2: widget = previewPanel2_; break;
    }
    widget->setVisible(visible);
}

void MainWindow::ApplyMenus(MenuSet set) { menu_.Apply(set); }

void MainWindow::ShowSummary()
{
    dialogs_->OpenSummary();
}

std::int64_t MainWindow::SecondsSinceEpoch() { return QDateTime::currentSecsSinceEpoch(); }

} // namespace vorlix
