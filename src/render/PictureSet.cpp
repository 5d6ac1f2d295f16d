#include "render/PictureSet.h"

#include "render/Artwork.h"

#include <QImage>

namespace vorlix {

QPixmap LoadPicture(const QString &path)
{
    // Decoded afresh every time (QPixmap::load would consult the pixmap cache), and the
    // content decides the format: a renamed PNG is still a picture.
    QImage image;
    if (!image.load(path) || image.width() <= 0 || image.height() <= 0)
        return {};
    return QPixmap::fromImage(std::move(image));
}

QIcon ProgramIcon()
{
    // Drawing the 128 and 256 pixel icons costs a fifth of the start-up time; title bars and
    // task switchers use the small ones, and desktops find the large ones installed.
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(artwork::Icon(size)));
    return icon;
}

PictureSet::PictureSet()
    : Splash(QPixmap::fromImage(artwork::SplashPicture())),
      Paused(QPixmap::fromImage(artwork::PausedPicture()))
{
    for (int kind = 1; kind <= artwork::PieceKindCount; ++kind)
        Previews[static_cast<std::size_t>(kind - 1)] = QPixmap::fromImage(artwork::PreviewPicture(kind));
}

bool PictureSet::LoadAll(const Settings &settings)
{
    auto load = [](QPixmap &target, const std::string &path) {
        target = LoadPicture(QString::fromStdString(path));
        return !target.isNull();
    };
    if (!load(Pit, settings.PitFile) || !load(Blank, settings.BlankFile))
        return false;
    for (int n = 1; n <= 20; ++n)
        if (!load(Pieces[static_cast<std::size_t>(n)], settings.PieceFiles[static_cast<std::size_t>(n)]))
            return false;
    Pieces[0] = QPixmap();
    return load(Background, settings.BackgroundFile);
}

bool PictureSet::Reload(PictureSlot slot, int index, const QString &path)
{
    QPixmap *target = Slot(slot, index);
    if (target == nullptr)
        return false;
    QPixmap loaded = LoadPicture(path);
    if (loaded.isNull())
        return false;
    *target = std::move(loaded);
    return true;
}

QPixmap *PictureSet::Piece(int n)
{
    return n >= 0 && n <= 20 ? &Pieces[static_cast<std::size_t>(n)] : nullptr;
}

const QPixmap *PictureSet::Preview(int kind) const
{
    return kind >= 1 && kind <= 7 ? &Previews[static_cast<std::size_t>(kind - 1)] : nullptr;
}

QPixmap *PictureSet::Slot(PictureSlot slot, int index)
{
    switch (slot) {
    case PictureSlot::Blank: return &Blank;
    case PictureSlot::Pit: return &Pit;
    case PictureSlot::Background: return &Background;
    case PictureSlot::Piece: return index >= 1 && index <= 20 ? Piece(index) : nullptr;
    }
    return nullptr;
}

} // namespace vorlix
