#include "picturecheck.h"

#include "platform/pictureloader.h"
#include "platform/scripterror.h"
#include "stage/pictures.h"

#include <QImage>
#include <QStringBuilder>

namespace vm2::check {

namespace {

constexpr QRgb kWhite = 0xFFFFFF;

// The layout of the picture's role, and the role in words.
struct Layout : stage::PictureLayout {
    QString role;
};

Layout layoutOf(const PictureUse &use)
{
    // Characters without an entry in the face table load a face but draw none: their
    // face layout is empty, and nothing is checked.
    Layout layout{stage::pictureLayout(use.role, use.character), {}};
    switch (use.role) {
    case PictureRole::Background:
        layout.role = QStringLiteral("a background");
        break;
    case PictureRole::Character:
        layout.role = QStringLiteral("a character picture with its mask");
        break;
    case PictureRole::EventPicture:
        layout.role = QStringLiteral("an event picture with its mask");
        break;
    case PictureRole::Face:
        layout.role = QStringLiteral("the face strip of character %1").arg(use.character);
        break;
    }
    return layout;
}

// The first pixel found at fault, and how many there are.
struct Spots {
    int count = 0;
    QPoint first;
    void add(int x, int y)
    {
        if (count++ == 0)
            first = {x, y};
    }
};

void checkMask(const QImage &image, const Layout &layout, Spots &mixedMask, Spots &notWhite)
{
    const int w = layout.mask.width();
    for (int y = 0; y < layout.mask.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *mask = row + layout.mask.x();
        for (int x = 0; x < w; ++x) {
            const QRgb m = mask[x] & kWhite;
            if (m != 0 && m != kWhite)
                mixedMask.add(layout.mask.x() + x, y);
            if (m != kWhite)
                continue;
            for (const QRect &cell : layout.cells) {
                if ((row[cell.x() + x] & kWhite) != kWhite)
                    notWhite.add(cell.x() + x, y);
            }
        }
    }
}

} // namespace

std::vector<PictureCheck::Problem> PictureCheck::examine(const PictureUse &use) const
{
    QImage image;
    try {
        image = platform::loadPicture(m_dataFolder % u'/' % use.file, use.file);
    } catch (const platform::ScriptError &e) {
        return {{Severity::Error, e.description()}};
    }
    const Layout layout = layoutOf(use);
    if (layout.size.isEmpty())
        return {};
    if (image.size() != layout.size)
        return {{Severity::Error, QStringLiteral("%1 is %2 × %3 pixels, but %4 is %5 × %6")
                                      .arg(use.file)
                                      .arg(image.width())
                                      .arg(image.height())
                                      .arg(layout.role)
                                      .arg(layout.size.width())
                                      .arg(layout.size.height())}};
    if (layout.mask.isNull())
        return {};
    Spots mixedMask, notWhite;
    checkMask(image, layout, mixedMask, notWhite);
    std::vector<Problem> problems;
    if (mixedMask.count)
        problems.push_back(
            {Severity::Warning, QStringLiteral("%1: the mask is neither black nor white at %2, %3 "
                                               "(%4 pixels): the masked placement mixes inverted "
                                               "colours there")
                                    .arg(use.file)
                                    .arg(mixedMask.first.x())
                                    .arg(mixedMask.first.y())
                                    .arg(mixedMask.count)});
    if (notWhite.count)
        problems.push_back({Severity::Warning,
                            QStringLiteral("%1: the picture is not white at %2, %3 where its mask "
                                           "is white (%4 pixels): the masked placement shows "
                                           "inverted colours there")
                                .arg(use.file)
                                .arg(notWhite.first.x())
                                .arg(notWhite.first.y())
                                .arg(notWhite.count)});
    return problems;
}

void PictureCheck::check(const PictureUse &use, const QString &file, Findings &findings,
                         const std::function<QString()> &context)
{
    auto it = m_cache.find({use.role, use.file});
    if (it == m_cache.end())
        it = m_cache.emplace(std::pair(use.role, use.file), examine(use)).first;
    for (const Problem &p : it->second)
        findings.add({file, use.line, p.severity, context ? p.message + context() : p.message});
}

} // namespace vm2::check
