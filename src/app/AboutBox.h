#pragma once

#include <QDialog>

namespace vorlix {

// The modal About box, closed with its OK button.
class AboutBox : public QDialog {
public:
    AboutBox();
};

} // namespace vorlix
