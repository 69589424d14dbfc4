#pragma once
// Serializer trees the fuzz targets read into and write from: every chunk type as an
// attribute and as an element, and children with and without tags of their own.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "storyloom/coreframework/serializer/Serializer.h"

// Chunk names and node tags are disjoint, so no child mistakes a chunk line for its tag.
inline const char* const ChunkNames[] = {"f", "i", "u", "b", "s", "v2", "v2i", "v3", "v3i", "v4", "m"};
inline const char* const NodeTags[] = {"Root", "NodeA", "NodeB"};

// A text the format holds verbatim: no markup characters, quotes or ends of tags.
inline std::string StorableText(std::string text) {
    for (char& c : text)
        if (c == '<' || c == '>' || c == '"' || c == '\0') c = '_';
    return text;
}

// A float the text form holds exactly: the shortest form keeps six digits, so a value that
// needs more would read back as another number, the default among them.
inline float StorableFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return std::strtof(text, nullptr);
}

// Adds one chunk of every type, with values drawn from the input, or with every value at
// its default when `input` is null.
inline void AddEveryChunk(Serializer& node, FuzzInput* input, bool asAttribute) {
    auto f = [&] { return input ? StorableFloat(input->Float()) : 0.0f; };
    auto i = [&] { return input ? input->Int() : 0; };
    using namespace VelmMathLib;
    node.AddChunk<float>("f", f(), 0.0f, asAttribute);
    node.AddChunk<int>("i", i(), 0, asAttribute);
    node.AddChunk<unsigned int>("u", static_cast<unsigned>(i()), 0u, asAttribute);
    node.AddChunk<bool>("b", input && input->Byte() % 2, false, asAttribute);
    node.AddChunk<std::string>("s", input ? StorableText(input->Until('\n')) : "", "", asAttribute);
    node.AddChunk<Vec2>("v2", Vec2{f(), f()}, Vec2{}, asAttribute);
    node.AddChunk<Vec2i>("v2i", Vec2i{i(), i()}, Vec2i{}, asAttribute);
    node.AddChunk<Vec3>("v3", Vec3(f(), f(), f()), Vec3(), asAttribute);
    node.AddChunk<Vec3i>("v3i", Vec3i{i(), i(), i()}, Vec3i{}, asAttribute);
    node.AddChunk<Vec4>("v4", Vec4{f(), f(), f(), f()}, Vec4{}, asAttribute);
    Matrix m;  // the identity, its default
    if (input)
        for (float& value : m.m) value = f();
    node.AddChunk<Matrix>("m", m, Matrix{}, asAttribute);
    if (!input) return;
    // Flags from the input: some chunks always written, some never.
    for (const char* name : ChunkNames) {
        const unsigned flags = input->Pick(4);
        node.FindChunk(name, asAttribute)->SetFlags(static_cast<std::uint16_t>(
            (flags & 1 ? DataChunk::AlwaysWrite : 0) | (flags & 2 ? DataChunk::NeverWrite : 0)));
    }
}

// A root with attributes and chunks, a tagged child with chunks and an untagged grandchild.
template <class Node = Serializer>
struct SerializerTree {
    explicit SerializerTree(FuzzInput* input, bool tagged = true) {
        if (tagged) {
            root.SetTag(NodeTags[0]);
            child.SetTag(NodeTags[1]);
            AddEveryChunk(root, input, true);
            AddEveryChunk(child, input, false);
            child.AddChild(&grandchild);
            root.AddChild(&child);
        }
        AddEveryChunk(root, input, false);
    }
    Node root;
    Serializer child;
    Serializer grandchild;
};
