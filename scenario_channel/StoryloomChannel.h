#pragma once
#include <memory>

#include "storyloom/channel/MultiModeChannel.h"
#include "storyloom/channel/ReportFacility.h"
#include "storyloom/coreframework/MagicPointer.h"
#include "storyloom/host/core/ScenarioEditorListener.h"
#include "storyloom/host/core/ScenarioGraphListener.h"
#include "storyloom/quest/QuestClasses.h"
#include "storyloom/scenario_channel/ModeIds.h"

// The scenario channel: one float channel class whose mode picks what it does with the
// scenario system on every evaluation. Its float value is the status of the last one.
class STORYLOOM_API Aco_Storyloom : public MultiModeChannel<Aco_FloatChannel, Aco_Storyloom>,
                                    public MagicBase<Aco_Storyloom>,
                                    public Core::ScenarioGraphListener,
                                    public Core::ScenarioEditorListener {
public:
    Aco_Storyloom();
    Aco_Storyloom(const Aco_Storyloom& other);
    Aco_Storyloom& operator=(const Aco_Storyloom& other);
    ~Aco_Storyloom() override;

    ChannelType GetChannelType() override;
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;
    void DoDependencyInit(A3d_List* list) override;
    float GetFloat() override;
    void InitializeModes() override;
    void ModeIsSet() override;

    void OnGraphSized(float width, float height) override;
    void HandleSelectEntity() override;
    void SelectedEntityVerified(bool ok) override;

    bool IsFactoryInitialized() const { return _isFactoryInitialized; }
    QuestProductFactory* GetQuestFactory() const { return _questFactory.get(); }
    // Kind of the held factory: the construct mode that made it, or kNoQuestFactory.
    int GetQuestFactoryType() const { return _questFactoryType; }
    static constexpr int kNoQuestFactory = 3;
    // In a construct mode: replaces the registered factory by one under the channel's name.
    // 1.0 (logged) when the channel has no name, else 0.0.
    float TryCreateFactory();
    // Removes and destroys the registered factory, if any.
    void DeleteFactory();
    // Builds the held factory's variable factories from the children at "VariableSlots".
    float InitializeFactory();
    // The variable factory the child at `childIndex` declares; null when the child is missing
    // or of a kind no slot is made from.
    std::unique_ptr<QuestVarFactory> CreateVarFactoryFromLink(unsigned int childIndex);

    // Reports an evaluation failure behind the channel prefix to the error log.
    void ReportEvaluationFailure(const std::string& text);

private:
    bool IsEditorListener() const;
    // The mode's run behind the gate and the cycle guard; with the observer told, when observed.
    float Evaluate();
    float EvaluateObserved();

    bool _isFactoryInitialized = false;
    std::unique_ptr<QuestProductFactory> _questFactory;
    int _questFactoryType = kNoQuestFactory;
    // Set while GetFloat runs: an evaluation that reaches the channel again is a cycle. Kept
    // behind the fields engines know the layout of.
    bool _isEvaluating = false;
};

extern "C" {
// A new channel owned by the caller; null when it cannot be allocated.
STORYLOOM_API A3d_Channel* InitDLL();
// The process-wide type record of the channel class, refilled on every call.
STORYLOOM_API ChannelType* GetType();
}
