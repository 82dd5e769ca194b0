#include "savedgame.h"

#include "engine/gamestate.h"
#include "engine/script.h"
#include "platform/settingsstore.h"

#include <QRegularExpression>

namespace vm2::save {

namespace {

// The keys of the saved game: the word, then the index.
constexpr char kNameKey[] = "PName";
constexpr char kLoveKey[] = "Loveval";
constexpr char kCounterKey[] = "Ibentcnt";
constexpr char kFlagKey[] = "Ibentflag";

QString key(const char *word, int index)
{
    return QLatin1String(word) + QString::number(index);
}

template <typename Array>
void saveNumbers(const char *word, const Array &values, int from, int to,
                 platform::SettingsStore &store)
{
    for (int i = from; i <= to; ++i)
        store.setValue(key(word, i), QString::number(values(i)));
}

} // namespace

short readStoredNumber(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^-?(0|[1-9][0-9]{0,4})$"));
    if (!form.match(text).hasMatch())
        return 0;
    const int value = text.toInt();
    if (value < -32768 || value > 32767)
        return 0;
    return static_cast<std::int16_t>(value);
}

bool allEndingsSeen(const platform::SettingsStore &store)
{
    bool all = true;
    // All four are read before any is tested.
    for (int heroine = engine::kFirstHeroine; heroine <= engine::kLastHeroine; ++heroine)
        all &=
            readStoredNumber(store.value(engine::seenEndingKey(heroine), QStringLiteral("0"))) == 1;
    return all;
}

namespace {

template <typename Array>
void loadNumbers(const char *word, Array &values, int from, int to,
                 const platform::SettingsStore &store)
{
    for (int i = from; i <= to; ++i)
        values(i) = readStoredNumber(store.value(key(word, i), QStringLiteral("0")));
}

} // namespace

bool SaveGame(const engine::GameState &state, platform::SettingsStore &store)
{
    using namespace engine;
    for (int i = kFirstName; i <= kLastName; ++i)
        store.setValue(key(kNameKey, i), state.PName(i));
    saveNumbers(kLoveKey, state.Loveval, kFirstHeroine, kLastHeroine, store);
    saveNumbers(kCounterKey, state.Ibentcnt, kFirstPlaceCounter, kLastCounter, store);
    saveNumbers(kFlagKey, state.Ibentflag, kFirstFlag, kLastFlag, store);
    return store.sync();
}

void LoadGame(engine::GameState &state, const platform::SettingsStore &store)
{
    using namespace engine;
    for (int i = kFirstName; i <= kLastName; ++i)
        state.PName(i) = store.value(key(kNameKey, i), defaultName(i));
    loadNumbers(kLoveKey, state.Loveval, kFirstHeroine, kLastHeroine, store);
    loadNumbers(kCounterKey, state.Ibentcnt, kFirstPlaceCounter, kLastCounter, store);
    loadNumbers(kFlagKey, state.Ibentflag, kFirstFlag, kLastFlag, store);
}

} // namespace vm2::save
