#pragma once

#include <QString>
#include <exception>

namespace vm2::platform {

// The faults that end a game. The names are the run-time error messages that the
// player sees; the detail says which field or file was at fault.
enum class Fault {
    FileNotFound,
    InputPastEnd,
    TypeMismatch,
    SubscriptOutOfRange,
    Overflow,
    InvalidPicture,
    OutOfStackSpace,
};

QString faultName(Fault fault);

// A script error: the engine trusts its data, so any malformed script or picture
// ends the game. The error carries the script file (relative to the data folder,
// with forward slashes) and the 1-based line being played when it happened; both
// are empty/0 for faults outside any script (a place's background, say).
class ScriptError : public std::exception
{
public:
    ScriptError(Fault fault, QString detail) : m_fault(fault), m_detail(std::move(detail)) {}

    Fault fault() const { return m_fault; }
    const QString &detail() const { return m_detail; }
    const QString &file() const { return m_file; }
    int line() const { return m_line; }
    bool hasLocation() const { return !m_file.isEmpty(); }
    void setLocation(const QString &file, int line)
    {
        m_file = file;
        m_line = line;
    }

    // "dat2/ibent1-0.da2:3: Type mismatch: ..." or, outside a script, "File not found: ..."
    QString message() const;
    // The fault and its detail without the place: "Type mismatch: ..."
    QString description() const;
    const char *what() const noexcept override;

private:
    Fault m_fault;
    QString m_detail;
    QString m_file;
    int m_line = 0;
    mutable QByteArray m_what;
};

} // namespace vm2::platform
