#pragma once
// The enumeration channel.
#include "host/enum/Aco_CustomEnum.h"
