#pragma once
// Reads a PNG back as ARGB pixels, the way the software device holds them.
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

struct PngPicture {
    unsigned width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    std::uint32_t At(unsigned x, unsigned y) const { return argb[std::size_t(y) * width + x]; }
};

inline bool ReadPng(const std::string& path, PngPicture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_BGRA;  // little-endian BGRA bytes are ARGB words
    picture.width = image.width;
    picture.height = image.height;
    picture.argb.assign(std::size_t(image.width) * image.height, 0);
    bool read = png_image_finish_read(&image, nullptr, picture.argb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return read;
}
