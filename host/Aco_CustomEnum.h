#pragma once
// The enumeration channel.
#include "storyloom/host/enum/Aco_CustomEnum.h"
