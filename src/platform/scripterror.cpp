#include "scripterror.h"

#include <QStringBuilder>

namespace vm2::platform {

QString faultName(Fault fault)
{
    switch (fault) {
    case Fault::FileNotFound:
        return QStringLiteral("File not found");
    case Fault::InputPastEnd:
        return QStringLiteral("Input past end of file");
    case Fault::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case Fault::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case Fault::Overflow:
        return QStringLiteral("Overflow");
    case Fault::InvalidPicture:
        return QStringLiteral("Invalid picture");
    case Fault::OutOfStackSpace:
        return QStringLiteral("Out of stack space");
    }
    return QStringLiteral("Script error");
}

QString ScriptError::description() const
{
    if (m_detail.isEmpty())
        return faultName(m_fault);
    return faultName(m_fault) % QLatin1String(": ") % m_detail;
}

QString ScriptError::message() const
{
    const QString text = description();
    if (hasLocation())
        return QStringLiteral("%1:%2: %3").arg(m_file, QString::number(m_line), text);
    return text;
}

const char *ScriptError::what() const noexcept
{
    m_what = message().toUtf8();
    return m_what.constData();
}

} // namespace vm2::platform
