#pragma once

#include <QStringList>

namespace vm2::platform {

// Every command takes an option's value either as the next argument (--data DIR) or
// after an equals sign (--data=DIR). This turns the second form into the first, for
// the options in `valued` (written with their dashes), leaving every other argument
// as it is.
QStringList splitOptionValues(const QStringList &arguments, const QStringList &valued);

} // namespace vm2::platform
