#include "savedgame.h"

#include "engine/gamestate.h"
#include "platform/settingsstore.h"

#include <QRegularExpression>

namespace vm2::save {

namespace {

const char16_t *const kDefaultNames[] = {u"桐原", u"蒼真", u"ソウマ"};

template <typename Array>
void saveNumbers(const char *word, const Array &values, int from, int to,
                 platform::SettingsStore &store)
{
    for (int i = from; i <= to; ++i)
        store.setValue(QLatin1String(word) + QString::number(i), QString::number(values(i)));
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
        all &= readStoredNumber(store.value(QStringLiteral("Endcnt") + QString::number(heroine),
                                            QStringLiteral("0"))) == 1;
    return all;
}

namespace {

template <typename Array>
void loadNumbers(const char *word, Array &values, int from, int to,
                 const platform::SettingsStore &store)
{
    for (int i = from; i <= to; ++i)
        values(i) = readStoredNumber(
            store.value(QLatin1String(word) + QString::number(i), QStringLiteral("0")));
}

} // namespace

bool SaveGame(const engine::GameState &state, platform::SettingsStore &store)
{
    for (int i = 1; i <= 3; ++i)
        store.setValue(QStringLiteral("PName") + QString::number(i), state.PName(i));
    saveNumbers("Loveval", state.Loveval, 2, 5, store);
    saveNumbers("Ibentcnt", state.Ibentcnt, 1, 10, store);
    saveNumbers("Ibentflag", state.Ibentflag, 1, 9, store);
    return store.sync();
}

void LoadGame(engine::GameState &state, const platform::SettingsStore &store)
{
    for (int i = 1; i <= 3; ++i)
        state.PName(i) = store.value(QStringLiteral("PName") + QString::number(i),
                                     QString::fromUtf16(kDefaultNames[i - 1]));
    loadNumbers("Loveval", state.Loveval, 2, 5, store);
    loadNumbers("Ibentcnt", state.Ibentcnt, 1, 10, store);
    loadNumbers("Ibentflag", state.Ibentflag, 1, 9, store);
}

} // namespace vm2::save
