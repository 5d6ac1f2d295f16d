#include "app/MainWindow.h"

#include "app/StatusStrip.h"
#include "render/PitPanel.h"

namespace vorlix {

void MainWindow::CentreOverlay(QWidget *panel)
{
    panel->move((width() - panel->width()) / 2, (client_->height() - panel->height()) / 2);
}

void MainWindow::ReAdjustSize()
{
    const bool two = app_.settings.TwoPlayers();
    // The pits and previews keep their places; player 2's preview lies outside a narrow window.
    setFixedWidth(two ? TwoPlayerWidth : OnePlayerWidth);
    CentreOverlay(logoPanel_);
    CentreOverlay(pausePanel_);
    status_->setGeometry(0, ClientHeight - StatusStrip::Height, width(), StatusStrip::Height);
    player2panel_->setVisible(two);
}

void MainWindow::SetPitBevel(bool on, int width) { player1panel_->SetBevel(on, width); }

} // namespace vorlix
