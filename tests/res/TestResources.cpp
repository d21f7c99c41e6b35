// Checks the pictures other parts of the client load by path: each exists,
// parses cleanly in QtSvg, has its design size and draws something.
// Set VANT_RES_DUMP=<dir> to also write contact sheets (PNG) for a visual check.
#include "tests/common/TWarningRecorder.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <ostream>

#include <vector>

namespace {

struct Picture
{
    QString path;
    QSize designSize;
};

void PrintTo(const Picture &picture, std::ostream *out)
{
    *out << picture.path.toStdString();
}

const QStringList kAvatarNames = {
    "Rumor Junkie", "Gamer", "Beatnik", "ALL CAPS!!!", "Tech Support", "Post Padder",
    "Forum Flirt", "Robot", "Sozzled Surfer", "Windows Zealot", "Linux Zealot", "No Dissent",
    "Push My Button", "Ringmaster", "Ray of Sunshine", "Uptight", "Spks in Tungz",
    "Jekyll and Hyde", "The Referee"};

QStringList cardPaths()
{
    QStringList paths;
    for (const char suit : {'c', 'd', 'h', 's'})
        for (int rank = 1; rank <= 13; ++rank)
            paths << QStringLiteral(":/res/cards/%1%2.svg").arg(suit).arg(rank, 2, 10, QChar('0'));
    return paths;
}

QStringList avatarPaths()
{
    QStringList paths;
    for (int i = 0; i < kAvatarNames.size(); ++i)
        paths << QStringLiteral(":/res/avatars/avatar%1.svg").arg(i, 2, 10, QChar('0'));
    return paths;
}

std::vector<Picture> allPictures()
{
    std::vector<Picture> all;
    for (const QString &path : cardPaths())
        all.push_back({path, {70, 97}});
    for (const QString &path : avatarPaths())
        all.push_back({path, {64, 64}});
    const std::vector<Picture> pictures = {
        {":/res/pictures/background.svg", {793, 465}}, {":/res/pictures/deck.svg", {160, 223}},
        {":/res/pictures/boneyard.svg", {406, 491}},   {":/res/pictures/server.svg", {128, 128}},
        {":/res/pictures/pickup.svg", {301, 193}},     {":/res/pictures/kill.svg", {250, 198}},
        {":/res/pictures/deal.svg", {153, 140}},       {":/res/pictures/register.svg", {404, 196}}};
    all.insert(all.end(), pictures.begin(), pictures.end());
    return all;
}

QImage render(QSvgRenderer &renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Enough distinct colours that the picture shows a drawing, not a flat fill.
bool hasDrawing(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size() >= 3;
}

class EveryPicture : public ::testing::TestWithParam<Picture>
{
};

TEST_P(EveryPicture, LoadsCleanlyAtDesignSizeAndDraws)
{
    const Picture &picture = GetParam();
    ASSERT_TRUE(QFile::exists(picture.path)) << picture.path.toStdString();

    TWarningRecorder collector;
    QSvgRenderer renderer(picture.path);
    ASSERT_TRUE(renderer.isValid()) << picture.path.toStdString();
    EXPECT_EQ(renderer.defaultSize(), picture.designSize);
    EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), picture.designSize.toSizeF()));

    EXPECT_TRUE(hasDrawing(render(renderer, picture.designSize)));
    EXPECT_TRUE(hasDrawing(render(renderer, picture.designSize * 4)));
    EXPECT_TRUE(TWarningRecorder::Messages().isEmpty())
        << TWarningRecorder::Messages().join('\n').toStdString();
}

// QtSvg silently skips what SVG Tiny lacks, so such a picture would just draw
// wrong; catch those features in the source instead.
TEST_P(EveryPicture, UsesOnlyWhatQtSvgDraws)
{
    QFile file(GetParam().path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray source = file.readAll();
    for (const char *feature : {"<filter", "<mask", "<clipPath", "<pattern", "<use", "<image",
                                "<style", "class=", "style="})
        EXPECT_FALSE(source.contains(feature)) << feature;
}

INSTANTIATE_TEST_SUITE_P(Resources, EveryPicture, ::testing::ValuesIn(allPictures()),
                         [](const auto &info) {
                             QString name = info.param.path.section('/', -2);
                             name.replace('/', '_').replace('.', '_');
                             return name.toStdString();
                         });

// Pictures of one family must all look different, or two cards (or players)
// could not be told apart; hash what they render to at their small size.
void expectAllDistinct(const QStringList &paths, QSize size)
{
    QSet<QByteArray> seen;
    for (const QString &path : paths) {
        QSvgRenderer renderer(path);
        const QImage image = render(renderer, size);
        seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), paths.size());
}

TEST(ResourceFamilies, CardFacesAllDifferEvenAtHalfSize)
{
    expectAllDistinct(cardPaths(), {70, 97});
    expectAllDistinct(cardPaths(), {35, 48});
}

TEST(ResourceFamilies, AvatarsAllDifferAtListSize)
{
    expectAllDistinct(avatarPaths(), {32, 32});
}

TEST(ResourceFamilies, AvatarNamesListTheNineteenInOrder)
{
    QFile file(":/res/avatars/names.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, kAvatarNames);
}

// Contact sheets, only when asked for: one row per family and size.
void dumpSheet(const QString &file, const QStringList &paths, QSize cell, int columns)
{
    const int gap = 6;
    const int rows = (paths.size() + columns - 1) / columns;
    QImage sheet((cell.width() + gap) * columns + gap, (cell.height() + gap) * rows + gap,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor("#cfd8dc"));
    QPainter painter(&sheet);
    for (int i = 0; i < paths.size(); ++i) {
        QSvgRenderer renderer(paths[i]);
        const QRect target(gap + (i % columns) * (cell.width() + gap),
                           gap + (i / columns) * (cell.height() + gap), cell.width(), cell.height());
        renderer.render(&painter, target);
    }
    painter.end();
    ASSERT_TRUE(sheet.save(file)) << file.toStdString();
}

TEST(ResourceSheets, DumpWhenAsked)
{
    const QString dir = qEnvironmentVariable("VANT_RES_DUMP");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VANT_RES_DUMP=<dir> to write contact sheets";
    dumpSheet(dir + "/cards-70.png", cardPaths(), {70, 97}, 13);
    dumpSheet(dir + "/cards-35.png", cardPaths(), {35, 48}, 13);
    dumpSheet(dir + "/cards-210.png", cardPaths().mid(0, 13) + cardPaths().mid(39, 13), {210, 291}, 7);
    dumpSheet(dir + "/avatars-64.png", avatarPaths(), {64, 64}, 10);
    dumpSheet(dir + "/avatars-32.png", avatarPaths(), {32, 32}, 10);
    QStringList pictures;
    for (const char *name : {"background", "deck", "boneyard", "server", "pickup", "kill",
                                "deal", "register"})
        pictures << QStringLiteral(":/res/pictures/%1.svg").arg(name);
    for (const QString &path : pictures) {
        QSvgRenderer renderer(path);
        dumpSheet(dir + "/" + path.section('/', -1).replace(".svg", ".png"), {path},
                  renderer.defaultSize(), 1);
    }
}

} // namespace
