#pragma once
// Host classes are public to every plug-in, also to one built with hidden visibility.
#define A3D_API __attribute__((visibility("default")))
