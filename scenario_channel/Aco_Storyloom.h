#pragma once
// What a host or a test compiles against: the scenario channel with the channel framework and
// the quest classes, and the engine host and scenario core it is used with. The plug-in's own
// files include the narrower headers they use.
#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"
