#include "render/PictureSet.h"
#include "Solid.h"
#include "../common/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vorlix {
namespace {

using test::PieceColor;
using test::Solid;

QRgb TopLeft(const QPixmap &pm) { return pm.toImage().pixel(0, 0); }

class PictureSetTest : public ::testing::Test {
protected:
    PictureSetTest()
    {
        settings = MakeDefaultSettings(dir.Path());
        Write("pit.bmp", Qt::gray);
        Write("blank.bmp", Qt::darkBlue);
        Write("bg.bmp", Qt::darkGreen, {64, 64});
        for (int n = 1; n <= 20; ++n)
            Write(QStringLiteral("piece%1.bmp").arg(n), PieceColor(n));
    }

    QString Path(const QString &name) const { return QString::fromStdString(dir / name.toStdString()); }
    void Write(const QString &name, QColor color, QSize size = {16, 16})
    {
        ASSERT_TRUE(Solid(color, size).save(Path(name), "BMP"));
    }
    void WriteText(const QString &name, const QByteArray &bytes)
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    test::TempDir dir;
    Settings settings;
    PictureSet pictures;
};

TEST_F(PictureSetTest, LoadsEveryPictureFromTheSettings)
{
    ASSERT_TRUE(pictures.LoadAll(settings));
    EXPECT_EQ(TopLeft(pictures.Pit), QColor(Qt::gray).rgb());
    EXPECT_EQ(TopLeft(pictures.Blank), QColor(Qt::darkBlue).rgb());
    EXPECT_EQ(pictures.Background.size(), QSize(64, 64));
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(TopLeft(pictures.Pieces[static_cast<std::size_t>(n)]), PieceColor(n).rgb()) << n;
    EXPECT_TRUE(pictures.Pieces[0].isNull()) << "the scratch entry starts empty";
}

TEST_F(PictureSetTest, AnyPictureThatCannotBeLoadedFailsTheStart)
{
    QStringList names{"pit.bmp", "blank.bmp", "bg.bmp"};
    for (int n = 1; n <= 20; ++n)
        names << QStringLiteral("piece%1.bmp").arg(n);
    for (const QString &name : names) {
        QFile::rename(Path(name), Path("moved"));
        PictureSet fresh;
        EXPECT_FALSE(fresh.LoadAll(settings)) << name.toStdString();
        QFile::rename(Path("moved"), Path(name));
    }
    WriteText("piece7.bmp", "not a picture");
    EXPECT_FALSE(pictures.LoadAll(settings));
    WriteText("piece7.bmp", "");
    EXPECT_FALSE(pictures.LoadAll(settings));
}

TEST_F(PictureSetTest, FailedReloadKeepsTheOldPicture)
{
    ASSERT_TRUE(pictures.LoadAll(settings));
    WriteText("broken.bmp", "BM but not really");
    EXPECT_FALSE(pictures.Reload(PictureSlot::Piece, 5, Path("missing.bmp")));
    EXPECT_FALSE(pictures.Reload(PictureSlot::Piece, 5, Path("broken.bmp")));
    EXPECT_FALSE(pictures.Reload(PictureSlot::Pit, 0, Path("broken.bmp")));
    EXPECT_FALSE(pictures.Reload(PictureSlot::Piece, 21, Path("pit.bmp")));
    EXPECT_FALSE(pictures.Reload(PictureSlot::Piece, 0, Path("pit.bmp")));
    EXPECT_EQ(TopLeft(pictures.Pieces[5]), PieceColor(5).rgb());
    EXPECT_EQ(TopLeft(pictures.Pit), QColor(Qt::gray).rgb());
    EXPECT_TRUE(pictures.Pieces[0].isNull());
}

TEST_F(PictureSetTest, ReloadReplacesInPlace)
{
    ASSERT_TRUE(pictures.LoadAll(settings));
    const QPixmap *reference = pictures.Piece(5);
    Write("new.bmp", Qt::white, {20, 20});
    ASSERT_TRUE(pictures.Reload(PictureSlot::Piece, 5, Path("new.bmp")));
    EXPECT_EQ(reference, &pictures.Pieces[5]);
    EXPECT_EQ(TopLeft(*reference), QColor(Qt::white).rgb());
    EXPECT_EQ(reference->size(), QSize(20, 20));
    ASSERT_TRUE(pictures.Reload(PictureSlot::Blank, 0, Path("new.bmp")));
    ASSERT_TRUE(pictures.Reload(PictureSlot::Background, 0, Path("new.bmp")));
    EXPECT_EQ(pictures.Background.size(), QSize(20, 20));
    EXPECT_EQ(TopLeft(pictures.Pieces[4]), PieceColor(4).rgb()) << "only the chosen picture changes";
}

TEST_F(PictureSetTest, PicturesOfTheWindowsComeWithTheProgram)
{
    EXPECT_EQ(pictures.Splash.size(), QSize(256, 256));
    EXPECT_EQ(pictures.Paused.size(), QSize(158, 68));
    for (int kind = 1; kind <= 7; ++kind) {
        ASSERT_NE(pictures.Preview(kind), nullptr);
        EXPECT_EQ(pictures.Preview(kind)->size(), QSize(21, 41));
        for (int other = 1; other < kind; ++other)
            EXPECT_NE(pictures.Preview(kind)->toImage(), pictures.Preview(other)->toImage()) << kind << other;
    }
    EXPECT_EQ(ProgramIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(pictures.Preview(0), nullptr);
    EXPECT_EQ(pictures.Preview(8), nullptr);
}

} // namespace
} // namespace vorlix
