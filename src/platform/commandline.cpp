#include "commandline.h"

namespace vm2::platform {

QStringList splitOptionValues(const QStringList &arguments, const QStringList &valued)
{
    QStringList out;
    out.reserve(arguments.size());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        const qsizetype equals = arg.indexOf(u'=');
        if (equals > 0 && valued.contains(arg.left(equals))) {
            out << arg.left(equals) << arg.mid(equals + 1);
            continue;
        }
        out << arg;
        // The value of a valued option is never itself split: --inputs "--data=x".
        if (valued.contains(arg) && i + 1 < arguments.size())
            out << arguments.at(++i);
    }
    return out;
}

} // namespace vm2::platform
