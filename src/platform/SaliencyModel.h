#pragma once
// Where the salient-object network's model file lives. Asked by the menus, which must not
// load the network's engine to learn whether the background removal petal can show.

#include <filesystem>
#include <optional>

namespace tavrino {

// The model file: Resources/u2netp.onnx of the bundle when running from one, otherwise the
// source tree's models/ folder. No value when this build has no network engine or the file
// is missing.
std::optional<std::filesystem::path> saliencyModelPath();

// True when saliencyModelPath() has a value: background removal can run.
bool saliencyModelAvailable();

}  // namespace tavrino
