// The picking example draws what its camera sees: the picture it writes shows each virtual
// entity in its colour where the camera projects it, and is the one kept in the docs.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GraphTestSupport.h"
#include "core/CameraProjection.h"
#include "d3d9/ReadPng.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(PickingExample, PictureShowsTheEntitiesAndMatchesTheDocs) {
    const std::string source = STORYLOOM_SOURCE_DIR;
    std::remove("picking.png");
    RunResult result = RunGraph(ReadText(source + "/examples/picking.json"));
    ASSERT_EQ(result.status, 0) << result.error;
    PngPicture made, kept;
    ASSERT_TRUE(ReadPng("picking.png", made));
    ASSERT_TRUE(ReadPng(source + "/docs/picking.png", kept));

    // The example's camera and entities.
    const Core::Camera camera(VelmMathLib::Vec3(0, 0, -10), VelmMathLib::Vec3(0, 0, 0), 1.0f, 320, 240);
    ASSERT_EQ(made.width, 320u);
    ASSERT_EQ(made.height, 240u);
    ExpectColourAt(made, camera, {-2.5f, 0, 0}, 16, 0, 120);
    ExpectColourAt(made, camera, {2.5f, 0.5f, 2}, 0, 16, 120);
    for (auto [x, y] : {std::pair{0u, 0u}, {319u, 0u}, {160u, 200u}, {319u, 239u}})
        EXPECT_EQ(made.At(x, y), D3DCOLOR_ARGB(255, 16, 16, 32)) << x << "," << y;

    // The docs show what the example makes; an edge may fall a pixel apart between builds.
    ASSERT_EQ(kept.width, made.width);
    ASSERT_EQ(kept.height, made.height);
    size_t differing = 0;
    for (size_t i = 0; i < made.argb.size(); ++i)
        for (int shift : {0, 8, 16, 24})
            if (std::abs(ColourChannel(made.argb[i], shift) - ColourChannel(kept.argb[i], shift)) > 24) {
                ++differing;
                break;
            }
    EXPECT_LE(differing, made.argb.size() / 100) << "regenerate docs/picking.png from the example's run";
}

}  // namespace
