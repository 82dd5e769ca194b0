#include "gamestate.h"

#include <limits>

namespace vm2::engine {

std::int16_t addInt16(std::int16_t a, int b)
{
    const int sum = a + b;
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max())
        throw platform::ScriptError(platform::Fault::Overflow,
                                    QStringLiteral("%1 + %2 leaves -32768 to 32767").arg(a).arg(b));
    return static_cast<std::int16_t>(sum);
}

QString defaultName(int index)
{
    static const char16_t *const kNames[] = {u"桐原", u"蒼真", u"ソウマ"};
    Q_ASSERT(index >= kFirstName && index <= kLastName);
    return QString::fromUtf16(kNames[index - kFirstName]);
}

void GameState::resetForNewGame()
{
    Loveval.fill(0);
    for (int i = kFirstPlaceCounter; i <= kLastCounter; ++i)
        Ibentcnt(i) = 0;
    Ibentflag.fill(0);
}

} // namespace vm2::engine
