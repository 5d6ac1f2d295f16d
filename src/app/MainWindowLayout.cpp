#include "app/MainWindow.h"

#include "app/StatusStrip.h"
#include "render/PitPanel.h"
#include "ui/WindowHints.h"

#include <QScreen>

namespace vorlix {

void MainWindow::CentreOnScreen()
{
    // The window starts centred by design; left to the window manager, a second copy of the
    // game would open wherever it finds room.
    vorlix::CentreOnScreen(this, screen());
}

void MainWindow::CentreOverlay(QWidget *panel)
{
    const int clientHeight = client_->height();
    panel->move((width() - panel->width()) / 2, (clientHeight - panel->height()) / 2);
}

void MainWindow::ReAdjustSize()
{
    const bool two = app_.settings.TwoPlayers();
    if (!isMaximized()) {
        setFixedWidth(two ? TwoPlayerWidth : OnePlayerWidth);
        player1panel_->move(55, 5);
        if (two)
            player2panel_->move(327, 5);
        previewpanel_->move(240, previewpanel_->y());
        previewPanel2_->move(280, previewPanel2_->y());
    } else {
        const int clientHeight = client_->height();
        int left = 0;
        if (two) {
            const int rowWidth = player1panel_->width() + player2panel_->width() + 60 + 2 * previewpanel_->width();
            left = (width() - rowWidth) / 2;
        } else {
            left = (width() - player1panel_->width()) / 2;
        }
        player1panel_->move(left, (clientHeight - player1panel_->height()) / 2);
        previewpanel_->move(player1panel_->x() + player1panel_->width() + 20, previewpanel_->y());
        previewPanel2_->move(previewpanel_->x() + previewpanel_->width() + 20, previewPanel2_->y());
        if (two)
            player2panel_->move(previewPanel2_->x() + previewPanel2_->width() + 20,
                                (clientHeight - player2panel_->height()) / 2);
    }
    CentreOverlay(logoPanel_);
    CentreOverlay(pausePanel_);
    status_->setGeometry(0, ClientHeight - StatusStrip::Height, width(), StatusStrip::Height);
    player2panel_->setVisible(two);
}

void MainWindow::SetPitBevel(bool on, int width) { player1panel_->SetBevel(on, width); }

} // namespace vorlix
