#pragma once

class QString;

namespace vm2::platform {
class SettingsStore;
}
namespace vm2::engine {
struct GameState;
}

namespace vm2::save {

// Writes the saved game: PName1-3, Loveval2-5, Ibentcnt1-10, Ibentflag1-9, in that
// order, then makes them durable in one step (the store replaces its file whole).
// Returns false when the store could not be written; the previous save then stays.
bool SaveGame(const engine::GameState &state, platform::SettingsStore &store);

// Reads the saved game. A missing name reads as the default hero's; a missing
// number, or one that is not the decimal text of a signed 16-bit integer, as 0.
void LoadGame(engine::GameState &state, const platform::SettingsStore &store);

// A stored number as LoadGame reads it: the plain decimal text of a signed 16-bit
// integer, anything else 0.
short readStoredNumber(const QString &text);

// Whether the happy endings of all four heroines have been seen ("Endcnt2" to
// "Endcnt5" each read as the number 1).
bool allEndingsSeen(const platform::SettingsStore &store);

} // namespace vm2::save
