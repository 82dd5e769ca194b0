// Pixel-exact stage composition on small generated pictures.
#include "datafolder.h"
#include "recordingscreen.h"

#include "game/game.h"
#include "platform/filesource.h"
#include "platform/pictureloader.h"
#include "platform/scripterror.h"
#include "platform/settingsstore.h"
#include "stage/stage.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace vm2;
using namespace vm2::test;
using stage::RasterOp;

namespace {
constexpr QRgb kBack = 0xFF336699;
constexpr QRgb kBody = 0xFFCC2211;
QImage filled(int w, int h, QRgb c)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}
// A character picture: body colour on white at x 0..299 where `inside`, mask black there.
QImage character(QRgb body, const QRect &inside)
{
    QImage image = filled(600, 400, 0xFFFFFFFF);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            image.setPixel(x, y, body);
            image.setPixel(300 + x, y, 0xFF000000);
        }
    return image;
}
// A face strip of cell size w × h: cell k (1..5) in its own colour, mask all black.
QImage faceStrip(int w, int h)
{
    QImage image = filled(6 * w, h, 0xFF000000);
    for (int k = 0; k < 5; ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(k * w + x, y, qRgb(10 * (k + 1), 20, 30));
    return image;
}
} // namespace

class TestStage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rasterOps_data();
    void rasterOps();
    void maskedPlacement();
    void maskedPlacementIsEraseThenInvert_data();
    void maskedPlacementIsEraseThenInvert();
    void faceCells_data();
    void faceCells();
    void noFace_data();
    void noFace();
    void overlayReplacesCharacter();
    void stageOnlyLoadRefreshesCompositing();
    void smallPictureOnWhite();
    void pictureAfterPicture();
    void hugePictures_data();
    void hugePictures();
    void formatsByContent_data();
    void formatsByContent();
    void gifByContent();
    void transparentPixelsAreWhite();
    void newMainScreenStartsEmpty();
    void badPictures();
    void decodedAhead_data();
    void decodedAhead();
};

void TestStage::rasterOps_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<uint>("dst");
    QTest::addColumn<uint>("src");
    QTest::addColumn<uint>("expected");
    QTest::newRow("copy") << int(RasterOp::Copy) << 0xFF123456u << 0xFFABCDEFu << 0xFFABCDEFu;
    QTest::newRow("erase: S and not D")
        << int(RasterOp::Erase) << 0xFF0F0F0Fu << 0xFFFF00FFu << 0xFFF000F0u;
    QTest::newRow("erase with white mask inverts")
        << int(RasterOp::Erase) << 0xFF336699u << 0xFFFFFFFFu << 0xFFCC9966u;
    QTest::newRow("erase with black mask clears")
        << int(RasterOp::Erase) << 0xFF336699u << 0xFF000000u << 0xFF000000u;
    QTest::newRow("invert: S xor D")
        << int(RasterOp::Invert) << 0xFF0F0F0Fu << 0xFFFF00FFu << 0xFFF00FF0u;
}

void TestStage::rasterOps()
{
    QFETCH(int, op);
    QFETCH(uint, dst);
    QFETCH(uint, src);
    QFETCH(uint, expected);
    QImage d = filled(3, 3, dst);
    const QImage s = filled(3, 3, src);
    stage::bitBlt(d, {1, 1}, s, QRect(0, 0, 5, 5), static_cast<RasterOp>(op));
    QCOMPARE(d.pixel(0, 0), QRgb(dst)); // outside the target
    QCOMPARE(d.pixel(1, 1), QRgb(expected));
    QCOMPARE(d.pixel(2, 2), QRgb(expected));
    // The alpha byte of a 32-bit RGB surface stays opaque after every operation.
    QCOMPARE(qAlpha(d.pixel(2, 2)), 255);
    // Outside the source the rectangle reads as white.
    QImage e = filled(4, 4, 0xFF123456);
    stage::bitBlt(e, {0, 0}, s, QRect(2, 2, 2, 2), RasterOp::Copy);
    QCOMPARE(e.pixel(0, 0), QRgb(src));
    QCOMPARE(e.pixel(1, 1), 0xFFFFFFFFu);
    QCOMPARE(e.pixel(2, 2), 0xFF123456u);
}

void TestStage::maskedPlacement()
{
    stage::Stage s;
    s.loadBackground(filled(400, 400, kBack));
    QImage body = character(kBody, QRect(100, 100, 50, 50));
    // White in the picture where the mask is black: it must show white, not the background.
    body.setPixel(100, 100, 0xFFFFFFFF);
    s.drawCharacter(QStringLiteral("A"), 1, body, nullptr);
    const QImage &v = s.visible();
    QCOMPARE(v.pixel(10, 10), kBack);                 // white picture, white mask: background
    QCOMPARE(v.pixel(50 + 120, 120), kBody);          // body shifted 50 to the right
    QCOMPARE(v.pixel(50 + 100, 100), 0xFFFFFFFFu);    // black mask shows the picture's white
    QCOMPARE(v.pixel(120, 120), kBack);               // where the body would be without the shift
    QCOMPARE(s.compositing().pixel(170, 120), kBack); // the clean background stays clean
}

void TestStage::maskedPlacementIsEraseThenInvert_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("mask");
    QTest::addColumn<QRect>("cell");
    QTest::newRow("inside") << QPoint(5, 7) << QRect(20, 0, 20, 16) << QRect(0, 0, 20, 16);
    QTest::newRow("clipped right and bottom")
        << QPoint(30, 20) << QRect(20, 0, 20, 16) << QRect(0, 0, 20, 16);
    QTest::newRow("clipped left and top")
        << QPoint(-6, -3) << QRect(20, 2, 20, 14) << QRect(0, 2, 20, 14);
    QTest::newRow("wholly outside") << QPoint(50, 0) << QRect(20, 0, 20, 16) << QRect(0, 0, 20, 16);
    QTest::newRow("mask past the picture")
        << QPoint(0, 0) << QRect(30, 0, 20, 16) << QRect(0, 0, 20, 16);
    QTest::newRow("sizes differ") << QPoint(2, 2) << QRect(20, 0, 10, 16) << QRect(0, 0, 20, 8);
    QTest::newRow("no mask") << QPoint(2, 2) << QRect() << QRect(0, 0, 20, 8);
}

// The one-pass placement gives the bits of its two operations one after the other.
void TestStage::maskedPlacementIsEraseThenInvert()
{
    QFETCH(QPoint, to);
    QFETCH(QRect, mask);
    QFETCH(QRect, cell);
    QRandomGenerator random(7);
    auto noise = [&](int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, random.generate() | 0xFF000000u);
        return image;
    };
    const QImage picture = noise(40, 16);
    QImage placed = noise(40, 30);
    QImage expected = placed;
    stage::placeMasked(placed, to, picture, mask, cell);
    stage::bitBlt(expected, to, picture, mask, RasterOp::Erase);
    stage::bitBlt(expected, to, picture, cell, RasterOp::Invert);
    QCOMPARE(placed, expected);
}

void TestStage::faceCells_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QRect>("rect");
    // Two heroines whose cells differ in place and size; the others are rows of the
    // same table.
    QTest::newRow("1") << "1" << QRect(130, 80, 140, 120);
    QTest::newRow("4") << "4" << QRect(140, 160, 120, 100);
}

void TestStage::faceCells()
{
    QFETCH(QString, code);
    QFETCH(QRect, rect);
    for (int expression = 1; expression <= 5; ++expression) {
        stage::Stage s;
        s.loadBackground(filled(400, 400, kBack));
        const QImage strip = faceStrip(rect.width(), rect.height());
        s.drawCharacter(code, expression, character(kBody, QRect(0, 0, 300, 400)), &strip);
        const QImage &v = s.visible();
        const QRgb face = qRgb(10 * expression, 20, 30);
        QCOMPARE(v.pixel(rect.topLeft()), face);
        QCOMPARE(v.pixel(rect.bottomRight()), face);
        QCOMPARE(v.pixel(rect.left() - 1, rect.top()), kBody);
        QCOMPARE(v.pixel(rect.right() + 1, rect.bottom()), kBody);
        QCOMPARE(v.pixel(rect.left(), rect.bottom() + 1), kBody);
    }
}

void TestStage::noFace_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("expression");
    QTest::newRow("A has no face") << "A" << 3;
    QTest::newRow("6 has no face entry") << "6" << 3;
    QTest::newRow("expression 0") << "1" << 0;
    QTest::newRow("expression 6") << "1" << 6;
}

void TestStage::noFace()
{
    QFETCH(QString, code);
    QFETCH(int, expression);
    stage::Stage s;
    s.loadBackground(filled(400, 400, kBack));
    const QImage strip = faceStrip(140, 120);
    s.drawCharacter(code, expression, character(kBody, QRect(0, 0, 300, 400)), &strip);
    for (int y = 0; y < 400; y += 7)
        for (int x = 50; x < 350; x += 7)
            QCOMPARE(s.visible().pixel(x, y), kBody);
}

void TestStage::overlayReplacesCharacter()
{
    stage::Stage s;
    s.loadBackground(filled(400, 400, kBack));
    s.drawCharacter(QStringLiteral("A"), 1, character(kBody, QRect(0, 0, 300, 400)), nullptr);
    QImage event = filled(800, 400, 0xFFFFFFFF);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            event.setPixel(x, y, 0xFF00FF00);
            event.setPixel(400 + x, y, 0xFF000000);
        }
    s.overlay(event);
    QCOMPARE(s.visible().pixel(5, 5), 0xFF00FF00u);
    QCOMPARE(s.visible().pixel(200, 200), kBack); // the character is gone
}

void TestStage::stageOnlyLoadRefreshesCompositing()
{
    // After a place move the character stands on the new place's picture.
    DataFolder data;
    data.picture(QStringLiteral("back1.da1"), 400, 400, QColor(kBack));
    data.picture(QStringLiteral("back2.da1"), 400, 400, QColor(0x11, 0x22, 0x33));
    data.picture(QStringLiteral("charaA.da1"), character(kBody, QRect(0, 0, 10, 10)));
    data.script(QStringLiteral("ibent2-0.da2"), {"2A10"});
    data.script(QStringLiteral("ibent1-0.da2"), {"11"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    game.newGame(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    game.start();
    game.placeMove(0); // アース学園, place 2
    QCOMPARE(game.stage().visible().pixel(200, 200), qRgb(0x11, 0x22, 0x33));
    QCOMPARE(game.stage().visible().pixel(55, 5), kBody);
    QVERIFY(game.state().BackPath.endsWith(QStringLiteral("/dat1/back1.da1")));
}

void TestStage::smallPictureOnWhite()
{
    stage::Stage s;
    s.loadBackground(filled(100, 50, kBack));
    QCOMPARE(s.visible().pixel(99, 49), kBack);
    QCOMPARE(s.visible().pixel(100, 49), 0xFFFFFFFFu);
    QCOMPARE(s.compositing().pixel(10, 60), 0xFFFFFFFFu);
}

void TestStage::pictureAfterPicture()
{
    // The stage holds whole pictures without copying them: it must never write into
    // them, and a smaller picture after a whole one must leave nothing of it.
    const QImage back = filled(400, 400, kBack);
    const QImage body = character(kBody, QRect(0, 0, 300, 400));
    QImage event = filled(800, 400, 0xFF00FF00);
    for (int y = 0; y < 400; ++y)
        for (int x = 400; x < 800; ++x)
            event.setPixel(x, y, 0xFF000000);
    const QImage backBefore = back.copy(), bodyBefore = body.copy(), eventBefore = event.copy();

    stage::Stage s;
    s.loadBackground(back);
    s.drawCharacter(QStringLiteral("A"), 1, body, nullptr);
    s.overlay(event);
    s.drawCharacter(QStringLiteral("A"), 1, body, nullptr);
    QCOMPARE(back, backBefore);
    QCOMPARE(body, bodyBefore);
    QCOMPARE(event, eventBefore);

    s.loadBackground(filled(100, 50, 0xFF112233));
    QCOMPARE(s.compositing().pixel(200, 200), 0xFFFFFFFFu);
    s.drawCharacter(QStringLiteral("A"), 1,
                    character(kBody, QRect(0, 0, 10, 10)).copy(0, 0, 310, 20), nullptr);
    QCOMPARE(s.visible().pixel(55, 5), kBody);
    QCOMPARE(s.visible().pixel(200, 200), 0xFFFFFFFFu); // neither the old body nor the old back
    s.overlay(filled(400, 400, 0xFFFFFFFF));            // no mask: a white mask, and the back shows
    QCOMPARE(s.visible().pixel(5, 5), 0xFF112233u);
    QCOMPARE(s.visible().pixel(200, 200), 0xFFFFFFFFu);

    // A whole background, then at once a small one, or a new main screen.
    stage::Stage t;
    t.loadBackground(back);
    t.loadBackground(filled(100, 50, 0xFF112233));
    QCOMPARE(t.visible().pixel(200, 200), 0xFFFFFFFFu);
    t.loadBackground(back);
    t.reset();
    QCOMPARE(t.visible().pixel(200, 200), 0xFFF0F0F0u);
    QCOMPARE(back, backBefore);
}

void TestStage::formatsByContent_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("bmp") << QByteArray("BMP");
    QTest::newRow("jpeg") << QByteArray("JPEG");
    QTest::newRow("png") << QByteArray("PNG");
}

void TestStage::formatsByContent()
{
    QFETCH(QByteArray, format);
    DataFolder data;
    data.picture(QStringLiteral("back1.da1"), 400, 400, QColor(0, 0, 255), format.constData());
    const QImage image = platform::loadPicture(data.path() + QStringLiteral("/dat1/back1.da1"),
                                               QStringLiteral("dat1/back1.da1"));
    QCOMPARE(image.size(), QSize(400, 400));
    QVERIFY(qBlue(image.pixel(200, 200)) > 240 && qRed(image.pixel(200, 200)) < 16);
}

void TestStage::gifByContent()
{
    // Qt writes no GIF: a one-pixel GIF made by hand, palette blue and white.
    const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00"
                         "\x00\x00\xFF\xFF\xFF\xFF"
                         "\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                         "\x02\x02\x44\x01\x00\x3B",
                         35);
    DataFolder data;
    data.rawScript(QStringLiteral("g.da2"), gif);
    const QImage image = platform::loadPicture(data.path() + QStringLiteral("/dat2/g.da2"),
                                               QStringLiteral("dat1/g.da1"));
    QCOMPARE(image.size(), QSize(1, 1));
    QCOMPARE(image.pixel(0, 0), 0xFF0000FFu);
}

void TestStage::transparentPixelsAreWhite()
{
    // A transparent pixel of a picture shows the white of the empty surface; in a
    // mask that keeps the background.
    QImage body(600, 400, QImage::Format_ARGB32);
    body.fill(Qt::transparent);
    DataFolder data;
    data.picture(QStringLiteral("charaA.da1"), body, "PNG");
    const QImage loaded = platform::loadPicture(data.path() + QStringLiteral("/dat1/charaA.da1"),
                                                QStringLiteral("dat1/charaA.da1"));
    QCOMPARE(loaded.pixel(10, 10), 0xFFFFFFFFu);
    stage::Stage s;
    s.loadBackground(filled(400, 400, kBack));
    s.drawCharacter(QStringLiteral("A"), 1, loaded, nullptr);
    QCOMPARE(s.visible().pixel(60, 10), kBack);
}

void TestStage::newMainScreenStartsEmpty()
{
    // After TITLE, a new game's main screen shows neither the old place buttons nor
    // the old background behind its first character.
    DataFolder data;
    data.picture(QStringLiteral("back2.da1"), 400, 400, QColor(200, 0, 0));
    data.picture(QStringLiteral("charaA.da1"), character(kBody, QRect(0, 0, 10, 10)));
    data.script(QStringLiteral("ibent1-0.da2"), {"2A10"});
    data.script(QStringLiteral("ibent2-0.da2"), {});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    game.newGame(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    game.start();
    game.placeMove(0); // the school: five buttons
    QVERIFY(game.placeButtons()[4].visible);
    game.newGame(QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"));
    game.start();
    QVERIFY(!game.placeButtons()[4].visible);
    QCOMPARE(game.stage().visible().pixel(5, 5), 0xFFFFFFFFu);
}

void TestStage::badPictures()
{
    DataFolder data;
    data.script(QStringLiteral("x.da2"), {"not a picture"});
    const QString garbage = data.path() + QStringLiteral("/dat2/x.da2");
    try {
        platform::loadPicture(garbage, QStringLiteral("dat1/x.da1"));
        QFAIL("garbage must not load");
    } catch (const platform::ScriptError &e) {
        QCOMPARE(e.fault(), platform::Fault::InvalidPicture);
        QVERIFY(e.message().startsWith(QStringLiteral("Invalid picture: dat1/x.da1")));
    }
    try {
        platform::loadPicture(data.path() + QStringLiteral("/dat1/none.da1"),
                              QStringLiteral("dat1/none.da1"));
        QFAIL("a missing picture must not load");
    } catch (const platform::ScriptError &e) {
        QCOMPARE(e.message(), QStringLiteral("File not found: dat1/none.da1"));
    }
}

// A picture decoded ahead is what load() would have decoded: the file as it is when
// the story draws it, and the same error for a missing or broken one.
void TestStage::decodedAhead_data()
{
    QTest::addColumn<QString>("before"); // the file when it is decoded ahead
    QTest::addColumn<bool>("settled");   // the decoding has finished before the change
    QTest::addColumn<QString>("after");  // the file when it is drawn
    QTest::addColumn<QString>("drawn");  // the colour drawn, or the error
    const QString red = QStringLiteral("red");
    const QString blue = QStringLiteral("blue");
    const QString none = QStringLiteral("none");
    const QString garbage = QStringLiteral("garbage");
    const QString missing = QStringLiteral("File not found: dat1/p.da1");
    const QString invalid = QStringLiteral("Invalid picture: dat1/p.da1");
    for (const bool settled : {true, false}) {
        const char *when = settled ? "after its decoding" : "at any time";
        auto row = [&](const char *what) -> QTestData & {
            return QTest::newRow(
                qPrintable(QString::fromLatin1(what) + u' ' + QString::fromLatin1(when)));
        };
        row("unchanged") << red << settled << red << red;
        row("written again") << red << settled << blue << blue;
        row("removed") << red << settled << none << missing;
        row("broken, then mended") << garbage << settled << red << red;
        row("broken") << garbage << settled << garbage << invalid;
        row("missing, then written") << none << settled << blue << blue;
    }
}

void TestStage::decodedAhead()
{
    QFETCH(QString, before);
    QFETCH(bool, settled);
    QFETCH(QString, after);
    QFETCH(QString, drawn);
    DataFolder data;
    const QString path = data.path() + QStringLiteral("/dat1/p.da1");
    // Red as a bitmap, blue as a PNG: a file written again differs in size too.
    auto put = [&](const QString &what) {
        QFile::remove(path);
        if (what == QLatin1String("garbage")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a picture");
        } else if (what != QLatin1String("none")) {
            const bool isRed = what == QLatin1String("red");
            QVERIFY(filled(400, 400, isRed ? 0xFFFF0000 : 0xFF0000FF)
                        .save(path, isRed ? "BMP" : "PNG"));
        }
    };
    put(before);
    platform::PictureCache cache;
    cache.decodeAhead({{path, QStringLiteral("dat1/p.da1")}});
    if (settled)
        cache.waitForDecodings();
    if (after != before)
        put(after);
    try {
        const QImage image = cache.load(path, QStringLiteral("dat1/p.da1"));
        QCOMPARE(image.pixel(7, 7), drawn == QLatin1String("red") ? 0xFFFF0000u : 0xFF0000FFu);
        // Kept from now on.
        QCOMPARE(cache.load(path, QStringLiteral("dat1/p.da1")).pixel(7, 7), image.pixel(7, 7));
    } catch (const platform::ScriptError &e) {
        QVERIFY2(e.message().startsWith(drawn), qPrintable(e.message()));
    }
    // A cache that goes with decodings asked for and never drawn waits for them.
    platform::PictureCache forgetful;
    put(QStringLiteral("red"));
    forgetful.decodeAhead({{path, QStringLiteral("dat1/p.da1")}});
}

// Headers that claim absurd sizes are refused at once, whatever the format, and a
// picture of the largest size allowed still loads.
void TestStage::hugePictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    auto le16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); };
    auto le32 = [&](int v) { return le16(v & 0xFFFF) + le16((v >> 16) & 0xFFFF); };
    auto gif = [&](int w, int h, bool transparent) {
        QByteArray b = "GIF89a" + le16(w) + le16(h) + QByteArray("\x80\0\0\0\0\0\xFF\xFF\xFF", 9);
        if (transparent)
            b += QByteArray("!\xF9\x04\x01\0\0\0\0", 8);
        return b + ',' + le16(0) + le16(0) + le16(w) + le16(h) +
               QByteArray("\0\x02\x02\x44\x01\0;", 7);
    };
    const QByteArray bmp = "BM" + le32(54) + le32(0) + le32(54) + le32(40) + le32(8000) +
                           le32(8000) + le16(1) + le16(32) + QByteArray(24, '\0');
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImage(2048, 2, QImage::Format_RGB32).save(&png, "PNG");
    QTest::newRow("gif 8000 x 8000") << gif(8000, 8000, false) << false;
    QTest::newRow("transparent gif 8000 x 8000") << gif(8000, 8000, true) << false;
    QTest::newRow("gif 2049 x 1") << gif(2049, 1, false) << false;
    QTest::newRow("transparent gif 8192 x 0") << gif(8192, 0, true) << false;
    QTest::newRow("bmp 8000 x 8000") << bmp << false;
    QTest::newRow("png 2048 x 2") << png.data() << true;
    // The largest accepted, which the picture fuzz target leaves out for its cost.
    QTest::newRow("transparent gif 2048 x 2048") << gif(2048, 2048, true) << true;
}

void TestStage::hugePictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    platform::MemorySource files;
    files.setFile(QStringLiteral("/m/dat1/p.da1"), bytes);
    platform::setFileSource(&files);
    QElapsedTimer timer;
    timer.start();
    try {
        const QImage image =
            platform::loadPicture(QStringLiteral("/m/dat1/p.da1"), QStringLiteral("dat1/p.da1"));
        platform::setFileSource(nullptr);
        QVERIFY(loads);
        QCOMPARE(image.width(), 2048);
    } catch (const platform::ScriptError &e) {
        platform::setFileSource(nullptr);
        QVERIFY2(!loads, qPrintable(e.message()));
        QCOMPARE(e.fault(), platform::Fault::InvalidPicture);
    }
    QVERIFY(timer.elapsed() < 2000);
}

QTEST_GUILESS_MAIN(TestStage)
#include "tst_stage.moc"
