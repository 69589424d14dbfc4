#include "storyloom/host/core/StartDisplayTimerAction.h"
#include "storyloom/host/core/UberIsEntityInAreaSpeedTime.h"

namespace Core {

std::string UberIsEntityInAreaSpeedTime::MessageWaitTime = "Wait here.";
std::string UberIsEntityInAreaSpeedTime::MessageAdjustSpeed = "Adjust your speed!";
std::string UberIsEntityInAreaSpeedTime::MessageLeftArea = "You left the area!";
std::string StartDisplayTimerAction::MessageTimeLeft = "Time left:";

}  // namespace Core
