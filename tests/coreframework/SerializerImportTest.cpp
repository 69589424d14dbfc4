#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "ScratchDirectory.h"
#include "coreframework/serializer/Serializer.h"

using namespace VelmMathLib;
using CustomEnums::SerializerFlag::Export;
using CustomEnums::SerializerFlag::Import;

namespace {

// Remembers what the reader handed over.
class RecordingSerializer : public Serializer {
public:
    int OnImportUnknownData(const std::string& tag, const std::string& text) override {
        nested.push_back(tag + "|" + text);
        return nestedResult;
    }
    int OnImportUnknownChunk(const std::string& name, const std::string& text) override {
        unknown.push_back(name + "|" + text);
        return 0;
    }
    std::vector<std::string> nested, unknown;
    int nestedResult = 0;
};

// '#' in the pattern stands for any digit.
bool MatchesWithDigits(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '#' ? !digit : text[i] != pattern[i]) return false;
    }
    return true;
}

void AddEveryType(Serializer& node, bool filled) {
    auto pick = [filled](auto value, auto zero) { return filled ? value : zero; };
    Matrix identity, shifted;
    shifted.m[12] = 2.5f;
    node.AddChunk<float>("f", pick(0.1f, 0.0f), 0.0f, true);
    node.AddChunk<int>("i", pick(-42, 0), 0, false);
    node.AddChunk<unsigned int>("u", pick(4000000000u, 0u), 0u, false);
    node.AddChunk<bool>("b", pick(true, false), false, false);
    node.AddChunk<std::string>("s", pick(std::string("two words"), std::string()), "", false);
    node.AddChunk<Vec2>("v2", pick(Vec2{1.5f, -2}, Vec2{}), Vec2{}, false);
    node.AddChunk<Vec2i>("v2i", pick(Vec2i{3, -4}, Vec2i{}), Vec2i{}, false);
    node.AddChunk<Vec3>("v3", pick(Vec3(1e-5f, 3e8f, -0.25f), Vec3()), Vec3(), false);
    node.AddChunk<Vec3i>("v3i", pick(Vec3i{5, 6, -7}, Vec3i{}), Vec3i{}, false);
    node.AddChunk<Vec4>("v4", pick(Vec4{1, 2, 3, 4}, Vec4{}), Vec4{}, false);
    node.AddChunk<Matrix>("m", pick(shifted, identity), identity, false);
}

}  // namespace

TEST(SerializerImport, EveryChunkTypeRoundTrips) {
    Serializer written, read;
    written.SetTag("State");
    read.SetTag("State");
    AddEveryType(written, true);
    AddEveryType(read, false);
    std::string text;
    written.Export(Export, text, 0);

    ASSERT_EQ(read.Import(Import, text), Serializer::ImportDone);
    for (const char* name : {"i", "u", "b", "s", "v2", "v2i", "v3", "v3i", "v4", "m"}) {
        EXPECT_EQ(read.FindChunk(name, false)->ToString(), written.FindChunk(name, false)->ToString());
        EXPECT_EQ(read.FindChunk(name, false)->GetImportCount(), 1u) << name;
    }
    EXPECT_EQ(static_cast<TDataChunkValue<float>*>(read.FindChunk("f", true))->GetValue(), 0.1f);
    EXPECT_EQ(text, "<State>\n\t\n</State>\n");  // consumed lines leave only separators
}

TEST(SerializerImport, ConsumedPartsLeaveAndUnknownPartsStay) {
    RecordingSerializer node;
    node.SetTag("N");
    auto* a = node.AddChunk<int>("a", 0, 0, true);
    auto* x = node.AddChunk<int>("x", 0, 0, false);
    auto* y = node.AddChunk<int>("y", 0, 0, false);
    std::string data = "<N a=\"1\" z=\"9\">\n\t<x>5</x>\n\t<u>6</u>\n\t<y>7</y>\n</N>\n";

    EXPECT_EQ(node.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(a->GetValue(), 1);
    EXPECT_EQ(x->GetValue(), 5);
    EXPECT_EQ(y->GetValue(), 7);
    EXPECT_EQ(data, "<N z=\"9\">\n\t\n\t<u>6</u>\n</N>\n");
    EXPECT_EQ(node.unknown, std::vector<std::string>{"u|\n\t<u>6</u>"});
}

TEST(SerializerImport, AttributeAndElementShapesThatDoNotMatch) {
    RecordingSerializer node;
    node.SetTag("N");
    auto* key = node.AddChunk<std::string>("key", "old", "", true);
    auto* element = node.AddChunk<std::string>("Key", "old", "", false);
    std::string data = "<N key = \"v\">\n<Key a=\"1\">v</Key>\n</N>";

    EXPECT_EQ(node.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(key->GetValue(), "old");  // "key " is not "key"
    EXPECT_EQ(element->GetValue(), "old");
    EXPECT_EQ(node.nested, std::vector<std::string>{"Key|<Key a=\"1\">v</Key>"});
}

// A comment goes together with the one character after it; an open one runs to the end.
TEST(SerializerImport, CommentRemovalQuirks) {
    std::string out = "unchanged";
    EXPECT_EQ(Serializer::GetElementText(out, "<!-- c --><x>1</x>", "x"), 1);
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(Serializer::GetElementText(out, "<!-- c -->\n<x>1</x><!-- <x>2</x>", "x"), 0);
    EXPECT_EQ(out, "1");
    EXPECT_EQ(Serializer::GetElementText(out, "<x> a <!--b-->-c</x>", "x"), 0);
    EXPECT_EQ(out, " a c");

    Serializer node;
    node.SetTag("N");
    std::string data = "<N>\n<!-- note -->\n\t<x>5</x>\n</N><!-- tail";
    node.AddChunk<int>("x", 0, 0, false);
    EXPECT_EQ(node.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(data, "<N>\n\t\n</N>");
}

TEST(SerializerImport, FailureResults) {
    // The node's tag is missing: values and counts stay as the start of the import left them.
    Serializer node;
    node.SetTag("N");
    auto* x = node.AddChunk<int>("x", 0, 0, false);
    std::string data = "<N>\n\t<x>3</x>\n</N>\n";
    node.Import(Import, data);
    std::string other = "<M>\n\t<x>4</x>\n</M><!--c-->";
    EXPECT_EQ(node.Import(Import, other), Serializer::ImportTagNotFound);
    EXPECT_EQ(x->GetValue(), 3);
    EXPECT_EQ(x->GetImportCount(), 0u);
    EXPECT_EQ(other, "<M>\n\t<x>4</x>\n</M>");

    // An attribute without its closing quote stops the import; those before it are read.
    Serializer attributes;
    attributes.SetTag("N");
    auto* a = attributes.AddChunk<int>("a", 0, 0, true);
    std::string unclosed = "<N a=\"1\" b=\"2>\n</N>\n";
    EXPECT_EQ(attributes.Import(Import, unclosed), Serializer::ImportUnclosedAttribute);
    EXPECT_EQ(a->GetValue(), 1);

    // A non-zero answer for a nested element stops the import with that answer.
    RecordingSerializer refusing;
    refusing.SetTag("N");
    refusing.nestedResult = 7;
    std::string nested = "<N>\n<A>\n<B>1</B>\n</A>\n</N>";
    EXPECT_EQ(refusing.Import(Import, nested), 7);
    EXPECT_EQ(nested, "<N>\n<A>\n<B>1</B>\n</A>\n</N>");
}

TEST(SerializerImport, UnbalancedElementsWriteOneDumpFile) {
    const std::string dumpName = "[######-######-###].InvalidDataStructure.Tag[Textitem].txt";
    const char* texts[] = {
        // no closing tag at all
        "<Language>\n\t<Textitem>\n\t\t<ID>a</ID>\n</Language>\n",
        // a same-named opening claims the only closing tag
        "<Language>\n\t<Textitem>\n\t<Textitem>\n\t\t<ID>a</ID>\n\t</Textitem>\n</Language>\n",
    };
    for (const char* text : texts) {
        ScratchDirectory scratch;
        Serializer node;
        node.SetTag("Language");
        std::string data = text;
        EXPECT_EQ(node.Import(Import, data), Serializer::ImportUnbalancedElement);
        auto files = scratch.FileNames();
        ASSERT_EQ(files.size(), 1u);
        EXPECT_TRUE(MatchesWithDigits(files[0], dumpName)) << files[0];
        const std::string full = text;
        EXPECT_EQ(ScratchDirectory::Read(files[0]), full.substr(full.find("<Textitem>")));
    }
}

TEST(SerializerImport, ChildrenShareOneCopyAndSameNamedTagsPair) {
    RecordingSerializer root;
    Serializer first, second;
    root.SetTag("R");
    first.SetTag("C");
    second.SetTag("C");
    auto* y = root.AddChunk<int>("y", 0, 0, false);
    auto* x1 = first.AddChunk<int>("x", 0, 0, false);
    auto* x2 = second.AddChunk<int>("x", 0, 0, false);
    root.AddChild(&first);
    root.AddChild(&second);
    std::string data = "<R>\n<C>\n\t<x>1</x>\n<C >\n</C></C>\n\t<y>2</y>\n</R>";

    EXPECT_EQ(root.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(x1->GetValue(), 1);
    EXPECT_EQ(x2->GetImportCount(), 0u);  // the first child consumed it
    EXPECT_EQ(y->GetValue(), 2);
    EXPECT_EQ(root.nested, std::vector<std::string>{"C|<C>\n\t<x>1</x>\n<C >\n</C></C>"});
    EXPECT_EQ(data, "<R>\n\n</R>");
}

// Without a tag the node's text starts after its first character, so chunk lines written
// without indentation lose their first line.
TEST(SerializerImport, NodeWithoutTagReadsChunkLines) {
    Serializer written, read;
    written.AddChunk<int>("a", 1, 0, false);
    written.AddChunk<int>("b", 2, 0, false);
    read.AddChunk<int>("a", 0, 0, false);
    read.AddChunk<int>("b", 0, 0, false);
    for (unsigned indent : {1u, 0u}) {
        std::string text;
        written.Export(Import, text, indent);
        EXPECT_EQ(read.Import(Import, text), Serializer::ImportDone);
        EXPECT_EQ(read.FindChunk("a", false)->GetImportCount(), indent);
        EXPECT_EQ(read.FindChunk("b", false)->GetImportCount(), indent);
    }
}

TEST(SerializerChangeQueue, QueuedFromManyThreadsTakenInOrder) {
    Serializer root, child;
    root.AddChild(&child);
    int a = 1, b = 2, c = 3, unrelated = 0;
    DataChunk* chunkA = root.AddChunkFor<int>("a", &a, 0);
    DataChunk* chunkB = root.AddChunkFor<int>("b", &b, 0);
    DataChunk* chunkC = child.AddChunkFor<int>("c", &c, 0);
    EXPECT_EQ(root.AddChunkFor<int>("a", &b, 0), nullptr);
    EXPECT_EQ(chunkA->ToString(), "1");

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 250; ++i) root.QueueChange(i % 2 ? &unrelated : &a);
        });
    for (auto& thread : threads) thread.join();
    root.QueueChange(&b);
    child.QueueChange(&c);

    std::vector<DataChunk*> answers;
    while (DataChunk* chunk = root.TakeChangedChunk()) answers.push_back(chunk);
    // Addresses without a chunk are dropped; the child answers once the root's queue is empty.
    ASSERT_EQ(answers.size(), 502u);
    EXPECT_EQ(std::count(answers.begin(), answers.begin() + 500, chunkA), 500);
    EXPECT_EQ(answers[500], chunkB);
    EXPECT_EQ(answers[501], chunkC);
}
