#include "recipe.h"

#include "engine/script.h"
#include "stage/pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace vm2::content {

namespace {

QString dat1Name(stage::PictureRole role, const QString &code, int variant)
{
    return QFileInfo(engine::pictureFile(role, code, variant)).fileName();
}

QColor colour(const QJsonObject &o, const char *key, const QColor &fallback = Qt::black)
{
    const QString text = o.value(QLatin1String(key)).toString();
    return text.isEmpty() ? fallback : QColor::fromString(text);
}

// Where an entry stands in the recipe, for errors.
QString entryName(const char *section, qsizetype index)
{
    return QStringLiteral("%1, entry %2").arg(QLatin1String(section)).arg(index + 1);
}

// A picture is named by its code alone: its file name follows from the code as the
// scripts' own, so a recipe cannot draw a picture into a file no script loads.
bool readCode(const QJsonObject &o, const QString &entry, QString &code, QString &error)
{
    if (o.contains(QLatin1String("file"))) {
        error = entry + QStringLiteral(": \"file\" is not read: name the picture by its "
                                       "\"code\" (the file name follows from it)");
        return false;
    }
    const QJsonValue value = o.value(QLatin1String("code"));
    if (!value.isString() || value.toString().isEmpty()) {
        error = entry + QStringLiteral(": no \"code\" (a text such as \"1\")");
        return false;
    }
    code = value.toString();
    return true;
}

bool scene(const QJsonObject &o, const QString &entry, stage::PictureRole role, SceneRecipe &s,
           QString &error)
{
    s.role = role;
    if (!readCode(o, entry, s.code, error))
        return false;
    s.scene = o.value(QLatin1String("scene")).toString();
    s.frame = o.value(QLatin1String("frame")).toString(QStringLiteral("full"));
    for (const QJsonValue &v : o.value(QLatin1String("characters")).toArray())
        s.characters << v.toString();
    s.format = o.value(QLatin1String("format")).toString();
    return true;
}

FigureRecipe figure(const QJsonObject &o, const FigureRecipe &base, bool variant)
{
    FigureRecipe f = base;
    auto text = [&](const char *key, QString &target) {
        if (o.contains(QLatin1String(key)))
            target = o.value(QLatin1String(key)).toString();
    };
    auto col = [&](const char *key, QColor &target) {
        if (o.contains(QLatin1String(key)))
            target = colour(o, key);
    };
    text("hair", f.hair);
    text("outfit", f.outfit);
    text("format", f.format);
    text("faceFormat", f.faceFormat);
    col("hairColour", f.hairColour);
    col("eyeColour", f.eyeColour);
    col("skin", f.skin);
    col("outfitColour", f.outfitColour);
    col("accent", f.accent);
    if (!variant) {
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
    auto entries = [&](const char *section) {
        return root.value(QLatin1String(section)).toArray();
    };
    auto fail = [&](const QString &message) {
        error = path + QStringLiteral(": ") + message;
        return false;
    };
    auto scenes = [&](const char *section, stage::PictureRole role, QList<SceneRecipe> &into) {
        const QJsonArray list = entries(section);
        for (qsizetype i = 0; i < list.size(); ++i) {
            SceneRecipe s;
            if (!scene(list.at(i).toObject(), entryName(section, i), role, s, error))
                return false;
            into << s;
        }
        return true;
    };
    if (!scenes("backgrounds", stage::PictureRole::Background, recipe.backgrounds))
        return fail(error);
    const QJsonArray characters = entries("characters");
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const QJsonObject o = characters.at(i).toObject();
        FigureRecipe base;
        if (!readCode(o, entryName("characters", i), base.code, error))
            return fail(error);
        recipe.figures << figure(o, base, false);
    }
    // A variant is named by its character's code and its number, as a "2" line names it.
    const QJsonArray variants = entries("variants");
    for (qsizetype i = 0; i < variants.size(); ++i) {
        const QJsonObject o = variants.at(i).toObject();
        const QString entry = entryName("variants", i);
        if (o.contains(QLatin1String("file")) || o.contains(QLatin1String("code")))
            return fail(entry + QStringLiteral(": a variant is named by \"of\" (its "
                                               "character's code) and \"variant\" alone"));
        const FigureRecipe *base = findFigure(recipe, o.value(QLatin1String("of")).toString());
        if (!base || base->variant != 0)
            return fail(entry + QStringLiteral(": \"of\" names no character of the recipe"));
        const int number = o.value(QLatin1String("variant")).toInt(0);
        if (number < 1 || number > 9)
            return fail(entry + QStringLiteral(": no \"variant\" number from 1 to 9"));
        FigureRecipe variant = figure(o, *base, true);
        variant.variant = number;
        variant.faceFormat.clear(); // the face strip belongs to the base character
        recipe.figures << variant;
    }
    if (!scenes("events", stage::PictureRole::EventPicture, recipe.events))
        return fail(error);
    // Two entries of one code would draw one file twice, the later over the earlier.
    QStringList names;
    for (const SceneRecipe &s : std::as_const(recipe.backgrounds))
        names << fileName(s);
    for (const FigureRecipe &f : std::as_const(recipe.figures))
        names << fileName(f);
    for (const SceneRecipe &s : std::as_const(recipe.events))
        names << fileName(s);
    QSet<QString> seen;
    for (const QString &name : std::as_const(names)) {
        if (seen.contains(name))
            return fail(QStringLiteral("two entries draw %1").arg(name));
        seen.insert(name);
    }
    recipe.iconCharacter =
        root.value(QLatin1String("icon")).toObject().value(QLatin1String("character")).toString();
    return true;
}

const FigureRecipe *findFigure(const Recipe &recipe, const QString &name)
{
    const QString wanted = dat1Name(stage::PictureRole::Character, name, 0);
    for (const FigureRecipe &f : recipe.figures) {
        if (fileName(f) == wanted)
            return &f;
    }
    return nullptr;
}

QString fileName(const FigureRecipe &figure)
{
    return dat1Name(stage::PictureRole::Character, figure.code, figure.variant);
}

QString faceFileName(const FigureRecipe &figure)
{
    return dat1Name(stage::PictureRole::Face, figure.code, 0);
}

QString fileName(const SceneRecipe &scene)
{
    return dat1Name(scene.role, scene.code, 0);
}

} // namespace vm2::content
