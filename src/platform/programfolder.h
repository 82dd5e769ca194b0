#pragma once

#include <QString>

namespace vm2::platform {

// The folder that holds the program's executable, without a trailing separator.
// Needs a QCoreApplication.
QString programFolder();

} // namespace vm2::platform
