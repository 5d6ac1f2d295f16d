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
    width_ = std::clamp(width, MinBevel, MaxBevel);
    bevelled_ = on;
    const int w = on ? width_ : 0;
    if (on) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(w);
    } else {
        setFrameStyle(QFrame::NoFrame);
        setLineWidth(0);
    }
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
