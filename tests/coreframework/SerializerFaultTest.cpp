#include <gtest/gtest.h>
#include <unistd.h>

#include "ScratchDirectory.h"
#include "storyloom/coreframework/serializer/Serializer.h"

using CustomEnums::SerializerFlag::Import;

namespace {

std::string Repeated(const std::string& piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace

// The reader walks nested elements without recursion: 100,000 levels neither overflow the
// stack nor take long, whether they pair up or not.
TEST(SerializerFault, DeepNestingIsReadWithoutRecursion) {
    constexpr size_t depth = 100000;
    ScratchDirectory scratch;
    const struct {
        std::string inner;
        int result;
    } cases[] = {
        {Repeated("<a>", depth) + "<n>1</n>" + Repeated("</a>", depth), Serializer::ImportDone},
        {Repeated("<a>\n", depth) + "<n>1</n>" + Repeated("</a>\n", depth - 1), Serializer::ImportUnbalancedElement},
        {Repeated("<a x=\"1\">", depth) + Repeated("</a>", depth), Serializer::ImportDone},
    };
    for (const auto& c : cases) {
        Serializer node;
        node.SetTag("Root");
        auto* after = node.AddChunk<int>("after", 0, 0, false);
        std::string text = "<Root>\n" + c.inner + "\n<after>5</after>\n</Root>\n";
        EXPECT_EQ(node.Import(Import, text), c.result);
        EXPECT_EQ(after->GetValue(), c.result == Serializer::ImportDone ? 5 : 0);
    }
}

// A dump file that cannot be written changes nothing else: the import still ends with 112
// and keeps what it read before.
TEST(SerializerFault, UnwritableDumpFolderStillEndsWith112) {
    ScratchDirectory scratch;
    char gone[] = "/tmp/storyloom_gone_XXXXXX";
    ASSERT_NE(mkdtemp(gone), nullptr);
    ASSERT_EQ(chdir(gone), 0);
    ASSERT_EQ(rmdir(gone), 0);  // even root cannot create files in a removed folder

    Serializer node;
    node.SetTag("Language");
    auto* before = node.AddChunk<int>("before", 0, 0, false);
    std::string text = "<Language>\n\t<before>3</before>\n\t<Textitem>\n\t\t<ID>a</ID>\n</Language>\n";
    EXPECT_EQ(node.Import(Import, text), Serializer::ImportUnbalancedElement);
    EXPECT_EQ(before->GetValue(), 3);
    std::string again = "<Language>\n\t<before>4</before>\n</Language>\n";
    EXPECT_EQ(node.Import(Import, again), Serializer::ImportDone);
    EXPECT_EQ(before->GetValue(), 4);
}
