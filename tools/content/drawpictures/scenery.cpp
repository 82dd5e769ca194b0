#include "scenery.h"

#include "backgrounds.h"

#include <functional>
#include <map>

namespace vm2::content {

QImage drawBackground(const QString &scene)
{
    using Painter = std::function<void(QPainter &)>;
    static const std::map<QString, Painter> scenes{
        {QStringLiteral("bedroom"), bedroom},
        {QStringLiteral("school"),
         [](QPainter &p) { schoolScene(p, Season::Summer, false, false); }},
        {QStringLiteral("schoolspring"),
         [](QPainter &p) { schoolScene(p, Season::Spring, false, false); }},
        {QStringLiteral("schoolrain"),
         [](QPainter &p) { schoolScene(p, Season::Summer, true, false); }},
        {QStringLiteral("schoolfestival"),
         [](QPainter &p) { schoolScene(p, Season::Summer, false, true); }},
        {QStringLiteral("schoolautumn"),
         [](QPainter &p) { schoolScene(p, Season::Autumn, false, false); }},
        {QStringLiteral("hill"), hill},
        {QStringLiteral("hillnight"), [](QPainter &p) { hillNight(p, false); }},
        {QStringLiteral("hillcloud"), [](QPainter &p) { hillNight(p, true); }},
        {QStringLiteral("hospital"), [](QPainter &p) { hospital(p, false); }},
        {QStringLiteral("hospitalcosmos"), [](QPainter &p) { hospital(p, true); }},
        {QStringLiteral("corridor"), corridor},
        {QStringLiteral("council"), [](QPainter &p) { council(p, WindowLight::Sunset); }},
        {QStringLiteral("councilnight"), [](QPainter &p) { council(p, WindowLight::Night); }},
        {QStringLiteral("councilrain"), [](QPainter &p) { council(p, WindowLight::Rain); }},
        {QStringLiteral("base"), base},
        {QStringLiteral("ward"), ward},
        {QStringLiteral("street"), street},
        {QStringLiteral("streetrain"), streetInRain},
        {QStringLiteral("streetcomet"), streetWithComet},
        {QStringLiteral("livehouse"), livehouse},
        {QStringLiteral("rooftop"), rooftop},
        {QStringLiteral("parknight"), parkNight},
        {QStringLiteral("library"), library},
        {QStringLiteral("sea"), sea},
    };
    const auto it = scenes.find(scene);
    if (it == scenes.end())
        return QImage();
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    it->second(p);
    return image;
}

} // namespace vm2::content
