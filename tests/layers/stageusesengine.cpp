// Must not compile: the stage lies under the engine, so the engine's headers are out
// of its reach (test layer_arrows).
#include "stage/stage.h"

#include "engine/gamestate.h"
