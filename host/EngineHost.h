#pragma once
// Everything a channel plug-in needs of the engine host.
#include "host/d3d9/d3dx9math.h"
#include "host/engine/A3dEngine.h"
#include "host/engine/A3dFile.h"
#include "host/engine/A3d_Channel.h"
#include "host/engine/A3d_ChannelGroup.h"
#include "host/engine/Aco_FloatChannel.h"
#include "host/engine/Aco_MatrixChannel.h"
#include "host/engine/Aco_StringChannel.h"
#include "host/engine/Aco_VectorChannel.h"
#include "host/engine/ChannelType.h"
#include "host/engine/Guid.h"
