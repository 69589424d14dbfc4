#pragma once
// Everything a channel plug-in needs of the engine host.
#include "storyloom/host/d3d9/d3dx9math.h"
#include "storyloom/host/engine/A3dEngine.h"
#include "storyloom/host/engine/A3dFile.h"
#include "storyloom/host/engine/A3d_Channel.h"
#include "storyloom/host/engine/A3d_ChannelGroup.h"
#include "storyloom/host/engine/Aco_FloatChannel.h"
#include "storyloom/host/engine/Aco_MatrixChannel.h"
#include "storyloom/host/engine/Aco_StringChannel.h"
#include "storyloom/host/engine/Aco_VectorChannel.h"
#include "storyloom/host/engine/ChannelType.h"
#include "storyloom/host/engine/EvaluationObserver.h"
#include "storyloom/host/engine/Guid.h"
