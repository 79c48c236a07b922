#pragma once
// Header-only questions about image files, asked while the user is still dragging: no pixel
// is decoded. Unreadable files are never an error here.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/EngineModule.h"

namespace tavrino {

// The number of frames (GIF) or pages (TIFF, HEIC) the file holds; 0 when it cannot be read
// as an image.
int imageFrameCount(const std::filesystem::path& path);

// How many headers imageFrameCount has read in this process. Classifying a file must cost
// one read at most however many layers ask, and checks hold the program to that by
// counting.
std::uint64_t imageHeaderReads();

// Width × height of the file's first image from its header alone; no value when no picture
// loader reads the header. Not a classification: imageHeaderReads does not count it.
std::optional<std::uint64_t> imagePixelCount(const std::filesystem::path& path);

// Whether the file's content is an image one of our decoders recognises (used for files
// whose extension says nothing, such as GIF or WebP under an odd name).
bool probeIsImage(const std::filesystem::path& path);

// Whether a libvips loader (by nickname, e.g. "jpegload_source") reads pictures. Everything
// else libvips can open (PDF, SVG, raw matrices, its own format) is not an image to this
// program.
bool isPictureLoader(std::string_view loader);

// The header reads themselves, done by the media engine (libvips) for files that start like
// a picture; the engine fills the slot.
struct ImageHeaderReader {
    int (*frameCount)(const std::filesystem::path& path);
    std::optional<std::uint64_t> (*pixelCount)(const std::filesystem::path& path);
};
EngineSlot<ImageHeaderReader>& imageHeaderSlot();

}  // namespace tavrino
