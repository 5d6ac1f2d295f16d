#pragma once

#include <QApplication>
#include <QFont>
#include <QLabel>

namespace vorlix {

// The one font of every window, 11 pixels high. A narrow sans: with it the designed texts fit
// the designed widths (six status panels, high-score columns, About box), which a sans of
// ordinary width does not do at this size.
QFont GameFont();

// The program's look, set once before any window exists: the game font for the whole
// application, and a visible focus on flat buttons.
void UseGameLook(QApplication &application);

// A label that never cuts its text. A text a little too wide for the label is set a little
// tighter (at most 5 %); a longer one is shown shortened with "…", and whole in the tooltip,
// or, with `narrowing`, whole in letters as narrow as it needs. text() stays the whole text.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    explicit FitLabel(QWidget *parent = nullptr, bool narrowing = false);

    QString ShownText() const { return Fitted().text; }
    QFont ShownFont() const { return Fitted().font; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Fit {
        QString text;
        QFont font;
    };
    Fit Fitted() const;
    int EffectiveIndent() const;
    // The width left for the text: the contents less margin and indent.
    int TextRoom() const;

    bool narrowing_;
};

} // namespace vorlix
