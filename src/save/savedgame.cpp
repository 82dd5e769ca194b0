#include "savedgame.h"

#include "engine/gamestate.h"
#include "engine/script.h"
#include "platform/settingsstore.h"

#include <QRegularExpression>

namespace vm2::save {

namespace {

const char16_t *const kDefaultNames[] = {u"桐原", u"蒼真", u"ソウマ"};

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
    for (int heroine = 2; heroine <= 5; ++heroine)
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
    for (int i = 1; i <= 3; ++i)
        store.setValue(key(kNameKey, i), state.PName(i));
    saveNumbers(kLoveKey, state.Loveval, 2, 5, store);
    saveNumbers(kCounterKey, state.Ibentcnt, 1, 10, store);
    saveNumbers(kFlagKey, state.Ibentflag, 1, 9, store);
    return store.sync();
}

void LoadGame(engine::GameState &state, const platform::SettingsStore &store)
{
    for (int i = 1; i <= 3; ++i)
        state.PName(i) = store.value(key(kNameKey, i), QString::fromUtf16(kDefaultNames[i - 1]));
    loadNumbers(kLoveKey, state.Loveval, 2, 5, store);
    loadNumbers(kCounterKey, state.Ibentcnt, 1, 10, store);
    loadNumbers(kFlagKey, state.Ibentflag, 1, 9, store);
}

} // namespace vm2::save
