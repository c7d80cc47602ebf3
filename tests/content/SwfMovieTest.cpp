// The five Flash movies of the lesson book: valid SWF, tag by tag, and real
// animations that loop without a jump.
#include "content/SwfMovie.h"
#include "support/TestSupport.h"

#include "runtime/ProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using brv::test::swf::Movie;

const char* const kMovies[] = {"Voltage", "EnergyBall", "Electrons", "Enzyme", "Amylase"};

QByteArray ReadMovieFile(const QString& name)
{
    QFile file(brv::ResolveInFolder(QStringLiteral(BRV_PROGRAM_DIR), "Flash\\" + name + ".swf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mean absolute difference of the colour channels, 0..255.
double Difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qRed(pa[x]) - qRed(pb[x])) + std::abs(qGreen(pa[x]) - qGreen(pb[x])) +
                   std::abs(qBlue(pa[x]) - qBlue(pb[x]));
    }
    return sum / (3.0 * a.width() * a.height());
}

double DrawnShare(const QImage& image, QColor background)
{
    qint64 drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* p = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            drawn += (p[x] & 0xFFFFFF) != (background.rgb() & 0xFFFFFF);
    }
    return double(drawn) / (image.width() * image.height());
}

TEST(BookMovies, EveryMovieIsValidSwfTagByTag)
{
    for (const char* name : kMovies) {
        SCOPED_TRACE(name);
        const QByteArray data = ReadMovieFile(name);
        ASSERT_FALSE(data.isEmpty()) << "missing Flash movie";
        Movie movie;
        QString error;
        ASSERT_TRUE(brv::test::swf::Parse(data, movie, error)) << error.toStdString();
        EXPECT_GE(movie.version, 8);
        ASSERT_FALSE(movie.tagCodes.empty());
        EXPECT_EQ(movie.tagCodes.front(), 69) << "the first tag of a version 8 movie is FileAttributes";
        EXPECT_EQ(movie.tagCodes.back(), 0);
        EXPECT_EQ(movie.declaredFrameCount, int(movie.frames.size()));
        EXPECT_GE(movie.frames.size(), 48u) << "a couple of seconds of animation at least";
        EXPECT_GE(movie.frameRate, 12.0);
        EXPECT_LE(movie.frameRate, 60.0);
        EXPECT_EQ(movie.frameSize, QRectF(0, 0, 550, 400));
        EXPECT_GE(movie.shapes.size(), 3u);
    }
}

TEST(BookMovies, FramesMoveAndTheLoopHasNoJump)
{
    for (const char* name : kMovies) {
        SCOPED_TRACE(name);
        Movie movie;
        QString error;
        ASSERT_TRUE(brv::test::swf::Parse(ReadMovieFile(name), movie, error)) << error.toStdString();
        const int n = int(movie.frames.size());
        std::vector<QImage> frames;
        for (int i = 0; i < n; ++i)
            frames.push_back(brv::test::swf::RenderFrame(movie, i));
        for (int i : {0, n / 4, n / 2, 3 * n / 4})
            brv::test::SavePicture(frames[i], QStringLiteral("book-movie-%1-%2").arg(name).arg(i));

        double largestStep = 0;
        for (int i = 1; i < n; ++i)
            largestStep = std::max(largestStep, Difference(frames[i - 1], frames[i]));
        EXPECT_GT(largestStep, 0.05) << "nothing moves";
        EXPECT_GT(Difference(frames[0], frames[n / 2]), 0.05)
            << "the middle of the loop looks like its start";
        // Played in a loop the last frame is followed by the first: that step
        // must be no bigger than the movie's ordinary steps.
        EXPECT_LE(Difference(frames[n - 1], frames[0]), 1.5 * largestStep + 0.01);
        for (int i : {0, n / 3, 2 * n / 3})
            EXPECT_GT(DrawnShare(frames[i], movie.background), 0.01) << "frame " << i << " is nearly empty";
    }
}

TEST(BookMovies, ReaderRejectsDamagedFiles)
{
    const QByteArray good = ReadMovieFile("Enzyme");
    ASSERT_FALSE(good.isEmpty());
    Movie movie;
    QString error;
    ASSERT_TRUE(brv::test::swf::Parse(good, movie, error)) << error.toStdString();

    // The truncated and the over-long file keep the header's length right, so
    // the reader has to find their fault in the tags themselves.
    auto withLength = [](QByteArray data) {
        const quint32 length = quint32(data.size());
        for (int i = 0; i < 4; ++i)
            data[4 + i] = char((length >> (8 * i)) & 0xFF);
        return data;
    };
    QByteArray wrongLength = good;
    wrongLength[4] = char(wrongLength[4] + 1);
    QByteArray compressed = good;
    compressed[0] = 'C';
    const QByteArray truncated = withLength(good.left(good.size() - 40));
    const QByteArray trailing = withLength(good + QByteArray("\0\0", 2));
    for (const QByteArray* bad :
         std::initializer_list<const QByteArray*>{&wrongLength, &compressed, &truncated, &trailing}) {
        Movie m;
        QString why;
        EXPECT_FALSE(brv::test::swf::Parse(*bad, m, why));
        EXPECT_FALSE(why.isEmpty());
    }
}

}  // namespace
