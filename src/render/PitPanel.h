#pragma once

#include "render/PaintBox.h"

#include <QFrame>

namespace vorlix {

// The black frame of a pit (player1panel, player2panel) around its 160 x 321 paint box.
class PitPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int DefaultBevel = 7;
    static constexpr int MinBevel = 1;
    static constexpr int MaxBevel = 10;

    // As laid out: a lowered bevel 7 wide, 175 x 335, the paint box at (7, 7).
    explicit PitPanel(QWidget *parent = nullptr);

    PaintBox &Box() { return box_; }

    // On with width w (clamped to 1..10): lowered bevel, panel (161 + 2w) x (321 + 2w), paint
    // box at (w, w). Off: no bevel, panel 161 x 321, paint box at (0, 0). The panel keeps its
    // position; the sizes follow from the arguments alone, so repeated calls never drift.
    void SetBevel(bool on, int width);

private:
    PaintBox box_;
};

// The black frame of a next-piece preview (previewpanel, PreviewPanel2): 33 x 57 with a raised
// border and a 21 x 41 paint box at (6, 8). Hidden until a game shows it.
class PreviewPanel : public QFrame {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget *parent = nullptr);

    PaintBox &Box() { return box_; }

private:
    PaintBox box_;
};

} // namespace vorlix
