#pragma once

#include <QPushButton>

namespace vorlix {

// A raised panel that shows a file name and acts as a button. It stays a QPushButton for the
// keyboard (Space) and for assistive tools; only its look is a panel. SetSunken holds it
// lowered while the file dialog it opened is up.
class PicturePanel : public QPushButton {
    Q_OBJECT
public:
    PicturePanel(const QString &objectName, const QString &role, QWidget *parent);

    // The file name shown (plain text; '&' is not a mnemonic here).
    void SetFileName(const QString &name);
    QString FileName() const { return fileName_; }

    void SetSunken(bool sunken);
    bool Sunken() const { return sunken_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString role_;
    QString fileName_;
    bool sunken_ = false;
};

} // namespace vorlix
