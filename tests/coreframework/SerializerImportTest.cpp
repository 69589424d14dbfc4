#include <gtest/gtest.h>

#include <cctype>
#include <thread>

#include "ScratchDirectory.h"
#include "storyloom/coreframework/serializer/Serializer.h"

using namespace VelmMathLib;
using CustomEnums::SerializerFlag::Import;

namespace {

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
    written.Export(CustomEnums::SerializerFlag::Export, text, 0);
    ASSERT_EQ(read.Import(Import, text), Serializer::ImportDone);
    for (const char* name : {"i", "u", "b", "s", "v2", "v2i", "v3", "v3i", "v4", "m"}) {
        EXPECT_EQ(read.FindChunk(name, false)->ToString(), written.FindChunk(name, false)->ToString());
        EXPECT_EQ(read.FindChunk(name, false)->GetImportCount(), 1u) << name;
    }
    EXPECT_EQ(static_cast<TDataChunkValue<float>*>(read.FindChunk("f", true))->GetValue(), 0.1f);
    EXPECT_EQ(text, "<State>\n\t\n</State>\n");
}

// Consumed attributes and elements leave `data`; unknown ones, and the shapes that do not
// match a chunk (blanks around "=", an element with attributes), stay or go to the hooks.
TEST(SerializerImport, WhatIsConsumedAndWhatStays) {
    RecordingSerializer node;
    node.SetTag("N");
    auto* a = node.AddChunk<int>("a", 0, 0, true);
    auto* spaced = node.AddChunk<int>("s", 0, 0, true);
    auto* x = node.AddChunk<int>("x", 0, 0, false);
    auto* key = node.AddChunk<int>("Key", 0, 0, false);
    std::string data =
        "<N a=\"1\" z=\"9\" s = \"2\">\n<!-- note -->\n\t<x>5</x>\n\t<u>6</u>\n\t<Key b=\"1\">7</Key>\n</N>";
    EXPECT_EQ(node.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(a->GetValue(), 1);
    EXPECT_EQ(spaced->GetImportCount(), 0u);
    EXPECT_EQ(x->GetValue(), 5);
    EXPECT_EQ(key->GetImportCount(), 0u);
    EXPECT_EQ(node.unknown, std::vector<std::string>{"u|\n\t<u>6</u>"});
    EXPECT_EQ(node.nested, std::vector<std::string>{"Key|<Key b=\"1\">7</Key>"});
    EXPECT_EQ(data, "<N z=\"9\" s = \"2\">\n\t\n\t<u>6</u>\n\t\n</N>");
}

// A comment goes together with the one character after it; an open one runs to the end.
TEST(SerializerImport, CommentRemovalQuirks) {
    std::string out = "unchanged";
    EXPECT_EQ(Serializer::GetElementText(out, "<!-- c --><x>1</x>", "x"), 1);
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(Serializer::GetElementText(out, "<!--c-->\n<x> a <!--b-->-c</x><!-- <x>2", "x"), 0);
    EXPECT_EQ(out, " a c");
}

TEST(SerializerImport, FailureResults) {
    Serializer node;
    node.SetTag("N");
    auto* a = node.AddChunk<int>("a", 0, 0, true);
    auto* x = node.AddChunk<int>("x", 0, 0, false);
    std::string data = "<N>\n\t<x>3</x>\n</N>\n";
    node.Import(Import, data);
    std::string other = "<M>\n\t<x>4</x>\n</M><!--c-->";
    EXPECT_EQ(node.Import(Import, other), Serializer::ImportTagNotFound);
    EXPECT_EQ(x->GetValue(), 3);
    EXPECT_EQ(x->GetImportCount(), 0u);
    EXPECT_EQ(other, "<M>\n\t<x>4</x>\n</M>");

    std::string unclosed = "<N a=\"1\" b=\"2>\n</N>\n";
    EXPECT_EQ(node.Import(Import, unclosed), Serializer::ImportUnclosedAttribute);
    EXPECT_EQ(a->GetValue(), 1);

    RecordingSerializer refusing;
    refusing.SetTag("N");
    refusing.nestedResult = 7;
    std::string nested = "<N>\n<A>\n<B>1</B>\n</A>\n</N>";
    EXPECT_EQ(refusing.Import(Import, nested), 7);
    EXPECT_EQ(nested, "<N>\n<A>\n<B>1</B>\n</A>\n</N>");
}

TEST(SerializerImport, UnbalancedElementWritesOneDumpFile) {
    const std::string pattern = "[######-######-###].InvalidDataStructure.Tag[Textitem].txt";
    for (std::string text : {"<Language>\n\t<Textitem>\n\t\t<ID>a</ID>\n</Language>\n",
                             "<Language>\n<Textitem>\n<Textitem>\n<ID>a</ID>\n</Textitem>\n</Language>"}) {
        ScratchDirectory scratch;
        Serializer node;
        node.SetTag("Language");
        std::string data = text;
        EXPECT_EQ(node.Import(Import, data), Serializer::ImportUnbalancedElement);
        auto files = scratch.FileNames();
        ASSERT_EQ(files.size(), 1u);
        ASSERT_EQ(files[0].size(), pattern.size());
        for (size_t i = 0; i < pattern.size(); ++i)
            EXPECT_TRUE(pattern[i] == '#' ? isdigit(files[0][i]) : files[0][i] == pattern[i]) << files[0];
        EXPECT_EQ(ScratchDirectory::Read(files[0]), text.substr(text.find("<Textitem>")));
    }
}

// Shapes the writer never produces, read tag by tag: a "<" or a closing tag inside the first
// tag, a closing tag of another name, an empty name, openings that only look like the
// element's own, and texts that end inside or after a tag.
TEST(SerializerImport, MalformedShapes) {
    struct Case {
        const char* text;
        int result;
        const char* left;
        int x;
        std::vector<std::string> nested, unknown;
        size_t reports;
    };
    const Case cases[] = {
        {"<N>\n\t<x>1</x>\n\t<y>2</y>\n</N>", 0, "<N>\n\t\n\t<y>2</y>\n</N>", 1, {}, {"y|\n\t<y>2</y>"}, 0},
        {"<N>\n<a</b>\n<x>3</x>\n</N>", 112, "<N>\n<a</b>\n<x>3</x>\n</N>", 0, {}, {}, 0},
        {"<N>\n<a<b>v</a<b>\n<x>4</x>\n</N>", 0, "<N>\n<a<b>v</a<b>\n</N>", 4, {}, {"a<b|<a<b>v</a<b>"}, 0},
        {"<N>\n<x>5</y>\n<x>6</x>\n</N>", 112, "<N>\n<x>5</y>\n<x>6</x>\n</N>", 0, {}, {}, 0},
        {"<N>\n<>7</x>\n</N>", 0, "<N>\n<>7</x>\n</N>", 0, {}, {"|<>7</x>"}, 0},
        {"<N>\n<A>\n<Ab>\n<A\tc>\n</A>\n</A>\n</A>\n</N>", 0, "<N>\n\n</A>\n</N>", 0,
         {"A|<A>\n<Ab>\n<A\tc>\n</A>\n</A>"}, {}, 0},
        {"<N>\n<x>8</x", 1, "<N>\n<x>8</x", 0, {}, {}, 1},
        {"<N>\n<x", 0, "<N>\n<x", 0, {}, {}, 0},
        {"<N>\n<x>9", 0, "<N>\n<x>9", 0, {}, {}, 0},
        {"<N>\n<A>\n<B>1</B>\n", 112, "<N>\n<A>\n<B>1</B>\n", 0, {}, {}, 0},
        {"<N>\n<A>\n<x>1</x>\n<x", 112, "<N>\n<A>\n<x>1</x>\n<x", 0, {}, {}, 0},
        {"<N>\n<A>\n<B</", 1, "<N>\n<A>\n<B</", 0, {}, {}, 1},
        {"<N>\n<A>\n<B", 0, "<N>\n<A>\n<B", 0, {}, {}, 0},
    };
    ScratchDirectory scratch;
    for (const Case& c : cases) {
        ClearAssertionReports();
        RecordingSerializer node;
        node.SetTag("N");
        auto* x = node.AddChunk<int>("x", 0, 0, false);
        std::string data = c.text;
        EXPECT_EQ(node.Import(Import, data), c.result) << c.text;
        EXPECT_EQ(data, c.left) << c.text;
        EXPECT_EQ(x->GetValue(), c.x) << c.text;
        EXPECT_EQ(node.nested, c.nested) << c.text;
        EXPECT_EQ(node.unknown, c.unknown) << c.text;
        EXPECT_EQ(GetAssertionReports().size(), c.reports) << c.text;
    }
    ClearAssertionReports();
}

// Children read one shared copy in turn; same-named nested tags pair up.
TEST(SerializerImport, ChildrenShareOneCopy) {
    RecordingSerializer root;
    Serializer first, second;
    root.SetTag("R");
    first.SetTag("C");
    second.SetTag("C");
    auto* x1 = first.AddChunk<int>("x", 0, 0, false);
    auto* x2 = second.AddChunk<int>("x", 0, 0, false);
    root.AddChild(&first);
    root.AddChild(&second);
    std::string data = "<R>\n<C>\n\t<x>1</x>\n<C >\n</C></C>\n</R>";
    EXPECT_EQ(root.Import(Import, data), Serializer::ImportDone);
    EXPECT_EQ(x1->GetValue(), 1);
    EXPECT_EQ(x2->GetImportCount(), 0u);
    EXPECT_EQ(root.nested, std::vector<std::string>{"C|<C>\n\t<x>1</x>\n<C >\n</C></C>"});
    EXPECT_EQ(data, "<R>\n\n</R>");
}

TEST(SerializerImport, ChangeQueueFromManyThreads) {
    Serializer root, child;
    root.AddChild(&child);
    int a = 1, b = 2, unrelated = 0;
    DataChunk* chunkA = root.AddChunkFor<int>("a", &a, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) root.QueueChange(i % 2 ? &unrelated : &a);
        });
    for (auto& thread : threads) thread.join();
    child.QueueChange(&b);
    DataChunk* chunkB = child.AddChunkFor<int>("b", &b, 0);

    std::vector<DataChunk*> answers;
    while (DataChunk* chunk = root.TakeChangedChunk()) answers.push_back(chunk);
    std::vector<DataChunk*> expected(400, chunkA);
    expected.push_back(chunkB);  // the child answers once the root's queue is empty
    EXPECT_EQ(answers, expected);
}

// A number beyond its type is read like any other: the chunk takes what the scan gives, the
// read is counted and the hook hears of it.
TEST(SerializerImport, NumberBeyondItsTypeIsReadAndHooked) {
    ClearAssertionReports();
    struct Hooked : Serializer {
        int OnImportChunk(const DataChunk* chunk) override {
            hooked.push_back(chunk->GetName());
            return 0;
        }
        std::vector<std::string> hooked;
    } node;
    node.SetTag("Node");
    auto* count = node.AddChunk<int>("count", 5, 0, false);
    auto* size = node.AddChunk<unsigned int>("size", 6u, 0u, false);
    std::string text = "<Node>\n\t<count>99999999999</count>\n\t<size>4294967296</size>\n</Node>\n";
    EXPECT_EQ(node.Import(Import, text), Serializer::ImportDone);
    EXPECT_EQ(count->GetValue(), 1215752191);
    EXPECT_EQ(size->GetValue(), 0u);
    EXPECT_EQ(count->GetImportCount() + size->GetImportCount(), 2u);
    EXPECT_EQ(node.hooked, (std::vector<std::string>{"count", "size"}));
    EXPECT_TRUE(GetAssertionReports().empty());
}
