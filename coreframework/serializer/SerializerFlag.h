#pragma once

namespace CustomEnums {
namespace SerializerFlag {

// How a serializer text is exchanged. The serializer itself tells only Export (node tags
// written) from every other value (chunk lines only). Values up to 4 occur, hence the fixed
// underlying type.
enum State : int {
    Export = 0,
    Import = 1,
    ExportNoInt = 2,
    ImportNoInt = 3,
};

}  // namespace SerializerFlag
}  // namespace CustomEnums
