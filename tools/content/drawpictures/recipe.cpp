#include "recipe.h"

#include "stage/pictures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vm2::content {

namespace {

QColor colour(const QJsonObject &o, const char *key, const QColor &fallback = Qt::black)
{
    const QString text = o.value(QLatin1String(key)).toString();
    return text.isEmpty() ? fallback : QColor::fromString(text);
}

SceneRecipe scene(const QJsonObject &o)
{
    SceneRecipe s;
    s.file = o.value(QLatin1String("file")).toString();
    s.scene = o.value(QLatin1String("scene")).toString();
    s.frame = o.value(QLatin1String("frame")).toString(QStringLiteral("full"));
    for (const QJsonValue &v : o.value(QLatin1String("characters")).toArray())
        s.characters << v.toString();
    s.format = o.value(QLatin1String("format")).toString();
    return s;
}

FigureRecipe figure(const QJsonObject &o, const FigureRecipe *base)
{
    FigureRecipe f = base ? *base : FigureRecipe{};
    auto text = [&](const char *key, QString &target) {
        if (o.contains(QLatin1String(key)))
            target = o.value(QLatin1String(key)).toString();
    };
    auto col = [&](const char *key, QColor &target) {
        if (o.contains(QLatin1String(key)))
            target = colour(o, key);
    };
    text("file", f.file);
    text("code", f.code);
    text("hair", f.hair);
    text("outfit", f.outfit);
    text("format", f.format);
    text("faceFormat", f.faceFormat);
    col("hairColour", f.hairColour);
    col("eyeColour", f.eyeColour);
    col("skin", f.skin);
    col("outfitColour", f.outfitColour);
    col("accent", f.accent);
    if (!base) {
        // The face strip's cells go where the stage puts a face of this character,
        // measured within the body picture.
        const stage::FaceRect r = stage::faceRect(f.code);
        const QPoint body = stage::pictureLayout(stage::PictureRole::Character).at;
        if (!r.isNull())
            f.face = QRect(r.x - body.x(), r.y - body.y(), r.w, r.h);
    }
    if (o.contains(QLatin1String("head"))) {
        // A character without a face strip: the head is drawn into the body at this
        // rectangle, with the expression given.
        const QJsonArray r = o.value(QLatin1String("head")).toArray();
        f.face = QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
        f.faceFormat.clear();
    }
    f.expression = o.value(QLatin1String("expression")).toInt(f.expression);
    return f;
}

} // namespace

bool readRecipe(const QString &path, Recipe &recipe, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": cannot read");
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull()) {
        error = QStringLiteral("%1: %2 at offset %3")
                    .arg(path, parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    const QJsonObject root = doc.object();
    for (const QJsonValue &v : root.value(QLatin1String("backgrounds")).toArray())
        recipe.backgrounds << scene(v.toObject());
    for (const QJsonValue &v : root.value(QLatin1String("characters")).toArray())
        recipe.figures << figure(v.toObject(), nullptr);
    for (const QJsonValue &v : root.value(QLatin1String("variants")).toArray()) {
        const QJsonObject o = v.toObject();
        const FigureRecipe *base = findFigure(recipe, o.value(QLatin1String("of")).toString());
        if (!base) {
            error = path + QStringLiteral(": a variant of an unknown character");
            return false;
        }
        FigureRecipe variant = figure(o, base);
        variant.faceFormat.clear(); // the face strip belongs to the base character
        recipe.figures << variant;
    }
    for (const QJsonValue &v : root.value(QLatin1String("events")).toArray())
        recipe.events << scene(v.toObject());
    recipe.iconCharacter =
        root.value(QLatin1String("icon")).toObject().value(QLatin1String("character")).toString();
    return true;
}

const FigureRecipe *findFigure(const Recipe &recipe, const QString &code)
{
    for (const FigureRecipe &f : recipe.figures) {
        if (f.file == QStringLiteral("chara") + code)
            return &f;
    }
    return nullptr;
}

} // namespace vm2::content
