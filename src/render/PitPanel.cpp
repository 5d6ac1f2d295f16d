#include "render/PitPanel.h"

#include <QPalette>

#include <algorithm>

namespace vorlix {
namespace {

constexpr QSize PitBoxSize{160, 321};
// The panel is one pixel wider than the paint box, as laid out.
constexpr QSize PitInnerSize{161, 321};

void MakeBlack(QWidget &w)
{
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, Qt::black);
    // Bevel shades in the steel blue of the pictures instead of the desktop's greys, which
    // glare around a dark pit.
    pal.setColor(QPalette::Light, QColor(128, 142, 172));
    pal.setColor(QPalette::Midlight, QColor(92, 104, 130));
    pal.setColor(QPalette::Mid, QColor(52, 60, 78));
    pal.setColor(QPalette::Dark, QColor(6, 8, 13));
    pal.setColor(QPalette::Shadow, QColor(0, 0, 0));
    w.setPalette(pal);
    // Updates of the paint boxes then never reach the main window beneath.
    w.setAutoFillBackground(true);
    w.setFocusPolicy(Qt::NoFocus);
}

} // namespace

PitPanel::PitPanel(QWidget *parent) : QFrame(parent), box_(PitBoxSize, this)
{
    MakeBlack(*this);
    SetBevel(true, DefaultBevel);
}

void PitPanel::SetBevel(bool on, int width)
{
    const int w = on ? std::clamp(width, MinBevel, MaxBevel) : 0;
    setFrameStyle(on ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    setLineWidth(w);
    setFixedSize(PitInnerSize + QSize(2 * w, 2 * w));
    box_.move(w, w);
}

PreviewPanel::PreviewPanel(QWidget *parent) : QFrame(parent), box_(QSize(21, 41), this)
{
    MakeBlack(*this);
    setFrameStyle(QFrame::Box | QFrame::Raised);
    setLineWidth(1);
    setMidLineWidth(0);
    setFixedSize(33, 57);
    box_.move(6, 8);
    hide();
}

} // namespace vorlix
