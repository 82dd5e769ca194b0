#include "fonts.h"

#include <QFontDatabase>

namespace vm2::app {

namespace {

QString &chosenFamily()
{
    static QString family;
    return family;
}

} // namespace

QStringList gameFontFamilies()
{
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

bool isFontInstalled(const QString &family)
{
    // Only a face of that very name counts: a substitute that the font system would
    // offer under the name is not the face the layouts were measured with.
    return QFontDatabase::families().contains(family);
}

QString gameFontFamily()
{
    QString &family = chosenFamily();
    if (family.isEmpty()) {
        const QStringList families = gameFontFamilies();
        family = families.last();
        for (const QString &candidate : families) {
            if (isFontInstalled(candidate)) {
                family = candidate;
                break;
            }
        }
    }
    return family;
}

void useGameFontFamily(const QString &family)
{
    chosenFamily() = family;
}

QFont gameFont(qreal pointSize, bool bold, bool underline)
{
    QFont font(gameFontFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(underline);
    // A glyph missing from the face comes from a sans-serif one.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace vm2::app
