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

void GameState::resetForNewGame()
{
    Loveval.fill(0);
    for (int i = 1; i <= 10; ++i)
        Ibentcnt(i) = 0;
    Ibentflag.fill(0);
}

} // namespace vm2::engine
