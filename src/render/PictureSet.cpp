#include "render/PictureSet.h"

#include "common/FileRead.h"
#include "render/Artwork.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

namespace vorlix {

QPixmap LoadPicture(const std::string &path)
{
    // Read by the name's own bytes: Qt's file names are text, and a byte that is not valid
    // UTF-8 would name another file. A larger file than the decoder would accept is refused
    // unread.
    const int limitMiB = QImageReader::allocationLimit();
    const std::size_t limit = static_cast<std::size_t>(limitMiB > 0 ? limitMiB : 1024) << 20;
    const FileReadResult file = ReadFileStart(path, limit);
    if (file.status != FileReadResult::Status::Read || file.truncated)
        return {};
    // Decoded afresh every time (no pixmap cache), and the content decides the format: a
    // renamed PNG is still a picture.
    QImage image;
    const QByteArray data = QByteArray::fromRawData(file.contents.data(), static_cast<qsizetype>(file.contents.size()));
    if (!image.loadFromData(data) || image.width() <= 0 || image.height() <= 0)
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
        target = LoadPicture(path);
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
    return Reload(slot, index, QFile::encodeName(path).toStdString());
}

bool PictureSet::Reload(PictureSlot slot, int index, const std::string &path)
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
