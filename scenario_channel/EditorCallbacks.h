#pragma once
// What the channel does when the editor or its graph calls back; beside the editor modes
// because it writes their links.
class Aco_Storyloom;

namespace EditorCallbacks {
// Writes the new size to "fWidth" and "fHeight" and runs "Call".
void AnswerGraphSized(Aco_Storyloom& self, float width, float height);
// Writes whether an entity must still be picked to "bNeedToPickEntity" and runs "Callback".
void AnswerPickRequest(Aco_Storyloom& self, float needToPick);
}  // namespace EditorCallbacks
