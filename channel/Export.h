#pragma once
// Marks what the plug-in exports; everything else in it stays hidden.
#define STORYLOOM_API __attribute__((visibility("default")))
