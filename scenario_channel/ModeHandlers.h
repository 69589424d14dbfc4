#pragma once
// One function per mode: each runs its mode on the channel and answers the status value
// (0.0 done, 105.0 a needed link empty or unreadable, 106.0 wrong object or object missing).

class Aco_Storyloom;

namespace ScenarioModes {
float Create(Aco_Storyloom& self);
float Destroy(Aco_Storyloom& self);
float AddEntity(Aco_Storyloom& self);
float AddEntityAtID(Aco_Storyloom& self);
float RemoveEntity(Aco_Storyloom& self);
float IsEntityInScenario(Aco_Storyloom& self);
float IsIDInScenario(Aco_Storyloom& self);
float GetEntity(Aco_Storyloom& self);
float GetEntityID(Aco_Storyloom& self);
float GetEntityCount(Aco_Storyloom& self);
float GetIsEntityInUse(Aco_Storyloom& self);
float GetFirstEntity(Aco_Storyloom& self);
float GetNextEntity(Aco_Storyloom& self);
float GetPlayTime(Aco_Storyloom& self);
float InitForEditing(Aco_Storyloom& self);
float RenderVirtualEntities(Aco_Storyloom& self);
float Pause(Aco_Storyloom& self);
float Resume(Aco_Storyloom& self);
float StateExport(Aco_Storyloom& self);
float StateImport(Aco_Storyloom& self);
}  // namespace ScenarioModes

namespace EditorModes {
float Show(Aco_Storyloom& self);
float Hide(Aco_Storyloom& self);
float RenderGraph(Aco_Storyloom& self);
float SetScenario(Aco_Storyloom& self);
float GetRoot(Aco_Storyloom& self);
float SetTesting(Aco_Storyloom& self);
float OnGraphSized(Aco_Storyloom& self);
float HandleSelectEntity(Aco_Storyloom& self);
float NotifyEntitySelected(Aco_Storyloom& self);
float NotifyEntitySelectCanceled(Aco_Storyloom& self);
float AddStringSelectVarType(Aco_Storyloom& self);
float SetTranslatedMessages(Aco_Storyloom& self);
}  // namespace EditorModes

namespace TranslationModes {
float Export(Aco_Storyloom& self);
float AddItem(Aco_Storyloom& self);
float GetPrefixSuffix(Aco_Storyloom& self);
float Clear(Aco_Storyloom& self);
float Import(Aco_Storyloom& self);
float Translate(Aco_Storyloom& self);
}  // namespace TranslationModes

namespace AreaModes {
float SphereGetRadius(Aco_Storyloom& self);
float SphereSetRadius(Aco_Storyloom& self);
float EntityIsInArea(Aco_Storyloom& self);
float VirtualEntityRender(Aco_Storyloom& self);
float VirtualEntityMousePicking(Aco_Storyloom& self);
}  // namespace AreaModes

namespace QuestModes {
float Construct(Aco_Storyloom& self);  // modes 0, 1 and 2
float FireEvent(Aco_Storyloom& self);
}  // namespace QuestModes
