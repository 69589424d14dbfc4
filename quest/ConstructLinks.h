#pragma once
// Link positions of the construct modes, shared by their records and by the products that
// read their channel. The slot declarations repeat at the first position, so the host gives
// a later position the child index: slot count + position (the slot channels, then one empty
// place). The last two children are always what runs the node and its "DisplayText".
namespace ConstructLinks {
constexpr unsigned int kVariableSlots = 0;
constexpr unsigned int kRun = 1;              // "Execute Action", "Evaluate Condition"
constexpr unsigned int kInstigator = 1;       // "OnConstruct :: Event": the reference it fills
constexpr unsigned int kEventParameters = 2;  // "OnConstruct :: Event" only, repeatable
constexpr unsigned int kFromEndRun = 2;       // counted back from the child count
constexpr unsigned int kFromEndDisplayText = 1;

constexpr unsigned int ChildIndexAfterSlots(unsigned int slotCount, unsigned int position) {
    return slotCount + position;
}
}  // namespace ConstructLinks
