#include "newstory.h"

#include "engine/placetable.h"
#include "engine/script.h"
#include "outputfolder.h"
#include "stage/stage.h"
#include "storybuild.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace vm2::story {

namespace {

struct File {
    const char *name;
    const char *text;
};

// The story's sources: every line kind a first story needs, with notes on lines
// that start with "#", which the game skips.
const File kScripts[] = {
    {"dat2/ibent1-0.txt", R"(# 自宅：新しいゲームも、翌日も、この出来事から始まる。
# 画面が開く前に流れるので、待つ行（3、4、A）は置かない。
11
F1
E4@2の部屋。さて、今日はどこへ行こう？
)"},
    {"dat2/ibent2-0.txt", R"(# アース学園、一回目（学園のカウンターが0のとき）
12
FA
34放課後の図書室。
2210
32紗季「あ、@3くん。ちょうどよかった」
32紗季「返ってきた本の整理、手伝ってくれない？」
# この答えは後で効く：手伝うと好感度が上がり、フラグ1が立つ。
# 二回目の学園（ibent2-1）では、フラグ1で紗季のせりふが変わる。
40303
手伝う
用事があると断る
72200
511
32紗季「ありがとう！ すごく助かる」
31「ごめん、今日は用事があって……」
72050
32紗季「そっか。じゃあ、また今度ね」
921
A
)"},
    {"dat2/ibent2-1.txt",
     R"(# アース学園、二回目：フラグ1で紗季のせりふが変わり、最後にエンディングへ
12
FA
2230
610102
32紗季「あ、@3くん。こんにちは」
32紗季「昨日はありがとう。これ、お礼のしおり」
72200
32紗季「ねえ、今度の日曜日……空いてる？」
B2
)"},
    {"dat2/ibent3-0.txt", "13\n34裏山。風の音しか聞こえない。\n"},
    {"dat2/ibent4-0.txt", "14\n34アース病院。待合室は静かだ。\n"},
    {"dat2/ibent5-0.txt", "15\n34生徒会室。今日は誰もいない。\n"},
    {"dat2/ibent6-0.txt", "16\n34秘密基地。古い毛布が一枚あるだけだ。\n"},
    {"dat2/ibent7-0.txt", "17\n34病室。窓の外に桜が見える。\n"},
    {"dat2/ibentA-0.txt", "1A\nFG\n34大通り。夕方の人混みだ。\n"},
    {"dat2/ibentB-0.txt", R"(# ライブハウスには場所ボタンがない：出来事の最後に、
# ジャンプ（D）か翌日（A）で、ボタンのある場所へ戻す。
1B
34ライブハウス。まだ開場前だ。
DA0
)"},
    {"dat2/ibent9-2.txt", R"(# 紗季（ヒロイン2）のハッピーエンド：好感度が35以上のとき
12
2250
32紗季「来てくれたんだ。……うれしい」
34日曜日の午後。二人の物語は、ここから始まる。
)"},
    {"dat2/ibent9-5.txt", R"(# 紗季（ヒロイン2）のバッドエンド：好感度が34以下のとき
11
34日曜日。約束の時間になっても、紗季は来なかった。
)"},
    {"dat2/ibent9-8.txt", R"(# おまけ：四人のハッピーエンドを見たあと、タイトル画面の絵から
11
C01
34おまけ：遊んでくれて、ありがとう！
)"},
    {"walkthroughs/saki-happy.txt", R"(# 紗季のハッピーエンド：手伝って、しおりをもらう
names: 桐原,蒼真,ソウマ
ending: happy 2
inputs: p2 n n n 1 n n
inputs: p2 n n n n
)"},
    {"walkthroughs/saki-bad.txt", R"(# 紗季のバッドエンド：用事があると断る
names: 桐原,蒼真,ソウマ
ending: bad 2
inputs: p2 n n n 2 n n n
inputs: p2 n n n
)"},
    {"walkthroughs/bonus.txt",
     R"(# おまけ：四人のハッピーエンドが記録済みとして、タイトル画面の絵から
seen: 2 3 4 5
ending: bonus
inputs: n
)"},
};

// Draws the same shapes twice: in colour on the picture, and in black on its mask,
// without antialiasing, so that the picture is white wherever the mask is white.
void drawMasked(QImage &image, int maskX, const std::function<void(QPainter &, bool)> &shapes)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    shapes(p, false);
    p.translate(maskX, 0);
    shapes(p, true);
}

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage background(int index)
{
    QImage image(400, 400, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor sky = QColor::fromHsv((index * 40) % 360, 60, 240);
    p.fillRect(0, 0, 400, 260, sky);
    p.fillRect(0, 260, 400, 140, sky.darker(160));
    p.setBrush(sky.darker(130));
    p.setPen(Qt::NoPen);
    p.drawRect(60 + index * 20, 120, 120, 140);
    p.drawRect(240 - index * 10, 160, 90, 100);
    return image;
}

QImage character()
{
    QImage image = whiteImage(600, 400);
    drawMasked(image, 300, [](QPainter &p, bool mask) {
        auto brush = [&](QColor c) { p.setBrush(mask ? QColor(Qt::black) : c); };
        brush(QColor(60, 70, 140)); // dress
        p.drawPolygon(QPolygon({{70, 400}, {110, 210}, {160, 210}, {200, 400}}));
        brush(QColor(70, 40, 30)); // hair
        p.drawEllipse(QRect(70, 60, 130, 150));
        brush(QColor(250, 220, 200)); // face under the face strip
        p.drawEllipse(QRect(85, 85, 100, 100));
    });
    return image;
}

QImage faceStrip(const stage::FaceRect &cell)
{
    const int w = cell.w, h = cell.h;
    QImage image = whiteImage(6 * w, h);
    for (int e = 0; e < 5; ++e) {
        drawMasked(image, (5 - e) * w, [&](QPainter &p, bool mask) {
            p.translate(e * w, 0);
            p.setBrush(mask ? QColor(Qt::black) : QColor(250, 220, 200));
            p.drawEllipse(QRect(5, 5, w - 10, h - 10));
            if (mask)
                return;
            p.setBrush(QColor(40, 30, 30));
            const int eye = e == 4 ? 3 : 9; // expression 5: eyes closed
            p.drawRect(w / 3 - 6, h / 2 - 12, 12, eye);
            p.drawRect(2 * w / 3 - 6, h / 2 - 12, 12, eye);
            p.setBrush(QColor(200, 60, 80));
            p.drawRect(w / 2 - 12, h * 2 / 3, 24, 4 + 4 * e); // the mouth opens with e
        });
    }
    return image;
}

QImage eventPicture()
{
    QImage image = whiteImage(800, 400);
    drawMasked(image, 400, [](QPainter &p, bool mask) {
        p.setBrush(mask ? QColor(Qt::black) : QColor(255, 200, 120));
        p.drawEllipse(QRect(40, 40, 320, 320));
        if (mask)
            return;
        p.setBrush(QColor(255, 120, 160));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QRect(110 + i * 36, 150 + (i % 2) * 40, 40, 40));
    });
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The whole starter story by path; the same bytes at every run, which is how a
// staging folder that a killed run left is known as ours.
std::map<QString, QByteArray> starterStory()
{
    std::map<QString, QByteArray> files;
    for (const File &f : kScripts)
        files[QLatin1String(f.name)] = QByteArray(f.text);
    using stage::PictureRole;
    // A background for every walkable place.
    for (int i = 0; const engine::Place *place = engine::placeByNumber(i + 1); ++i)
        files[engine::pictureFile(PictureRole::Background, place->codeText())] =
            encoded(background(i), "JPEG");
    const QString heroine = QStringLiteral("2");
    files[engine::pictureFile(PictureRole::Character, heroine)] = encoded(character(), "BMP");
    files[engine::pictureFile(PictureRole::Face, heroine)] =
        encoded(faceStrip(stage::faceRect(heroine)), "PNG");
    files[engine::pictureFile(PictureRole::EventPicture, QStringLiteral("01"))] =
        encoded(eventPicture(), "PNG");
    return files;
}

} // namespace

int newStory(const QString &folder, QTextStream &report)
{
    const QFileInfo info(folder);
    if (info.isDir() && !QDir(folder).isEmpty()) {
        report << "velmora2-story: " << folder << " is not empty: new writes a story into a "
               << "new folder\n";
        return Failed;
    }
    // A file or a link that leads nowhere stands where the folder would be.
    if ((info.exists() || info.isSymLink()) && !info.isDir()) {
        report << "velmora2-story: cannot create " << QDir(folder).filePath(QStringLiteral("dat1"))
               << '\n';
        return Failed;
    }
    // Written beside the folder and put in place at once: a kill or a full disk
    // leaves no half story, and an empty folder stays empty.
    OutputFolder out(folder, QStringLiteral("new"));
    QString error;
    if (!out.publish(starterStory(), &error)) {
        report << error << '\n';
        return Failed;
    }
    report << "velmora2-story: a new story in " << folder << ". Next:\n"
           << "  velmora2-story build " << folder << ' ' << folder << "/out\n"
           << "  velmora2-story test " << folder << '\n';
    return Ok;
}

} // namespace vm2::story
