#include "ui/MessageBox.h"

#include "ui/WindowHints.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

namespace vorlix {

QString FileNameText(const std::string &bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

namespace {

// Centred over its parent's window, or on the screen without one. Qt's own placement measures
// the box before it takes its final size and guesses the frame, and leaves the rest to the
// window manager, which may put it in a corner. Placed here once the size is known, the
// position is given to the window manager as the one asked for.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        // The frame the window manager will add, as it added it to the parent.
        const QMargins frame = over ? Frame(over) : QMargins();
        CentreFramed(this, over ? over->geometry().marginsAdded(frame).center() : screen->availableGeometry().center(),
                     frame);
    }
};

bool toStandardError = false;

} // namespace

void SendMessagesToStandardError(bool on) { toStandardError = on; }

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    if (toStandardError) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    CentredMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString SaveFailureText(const std::vector<std::pair<std::string, std::string>> &pathsAndErrors)
{
    QString text = QStringLiteral("Could not save:");
    for (const auto &[path, error] : pathsAndErrors)
        text += QStringLiteral("\n%1: %2").arg(FileNameText(path), FileNameText(error));
    return text;
}

} // namespace vorlix
