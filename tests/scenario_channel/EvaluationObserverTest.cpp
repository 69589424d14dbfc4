// The engine's evaluation observer hears observed channels only: their evaluations, nested as
// they nest, and the children their modes take.
#include "storyloom/scenario_channel/ModeIds.h"
#include "support/ModeTestSupport.h"

namespace {
class Journal : public EvaluationObserver {
public:
    explicit Journal(const std::vector<const A3d_Channel*>& names) : _names(names) {
        globalEngine.SetEvaluationObserver(this);
    }
    ~Journal() override { globalEngine.SetEvaluationObserver(nullptr); }
    void ChannelBegins(A3d_Channel& channel) override { lines.push_back("begin " + Name(channel)); }
    void ChannelEnds(A3d_Channel& channel, float value) override {
        lines.push_back("end " + Name(channel) + " " + std::to_string(static_cast<int>(value)));
    }
    void ChildTaken(const A3d_Channel& parent, unsigned index) override {
        lines.push_back("take " + Name(parent) + " " + std::to_string(index));
    }
    void ProductBegins(const char*, const char*) override {}
    void ProductEnds(bool) override {}
    std::vector<std::string> lines;

private:
    std::string Name(const A3d_Channel& channel) const {
        for (size_t i = 0; i < _names.size(); ++i)
            if (_names[i] == &channel) return std::string(1, static_cast<char>('a' + i));
        return "?";
    }
    std::vector<const A3d_Channel*> _names;
};
}  // namespace

class EvaluationObserverTest : public ModeTest {};

TEST_F(EvaluationObserverTest, HearsObservedChannelsOnlyNestedAsTheyEvaluate) {
    auto& scenario = Make<Aco_CoreRef>();
    auto& count = Make<Aco_FloatChannel>();
    auto& create = Mode(MODE_Scenario_Create, {&scenario});
    auto& counting = Mode(MODE_Scenario_GetEntityCount, {&scenario, &count});
    auto& found = Make<Aco_CoreRef>();
    // The id it looks up is the count's status: the count is evaluated inside the lookup.
    auto& lookup = Mode(MODE_Scenario_GetEntity, {&scenario, &counting, &found});
    Journal journal({&lookup, &counting, &create});
    create.GetFloat();
    EXPECT_THAT(journal.lines, testing::IsEmpty()) << "nothing observed yet";
    lookup.SetObserved(true);
    counting.SetObserved(true);
    lookup.GetFloat();
    ExpectLog({EvaluationReport("Scenario_GetEntity", "ChildLinkInvalid[CoreEntity]")});
    EXPECT_EQ(journal.lines,
              (std::vector<std::string>{"begin a", "take a 0", "take a 1", "take a 1", "take a 1", "begin b", "take b 0",
                                        "take b 1", "end b 0", "take a 2", "end a 106"}));
    journal.lines.clear();
    lookup.SetObserved(false);
    counting.SetObserved(false);
    lookup.GetFloat();
    ExpectLog({EvaluationReport("Scenario_GetEntity", "ChildLinkInvalid[CoreEntity]")});
    EXPECT_THAT(journal.lines, testing::IsEmpty());
}
