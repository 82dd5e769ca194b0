#include "programfolder.h"

#include <QCoreApplication>

namespace vm2::platform {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace vm2::platform
