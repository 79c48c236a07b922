#pragma once
// The ways the program runs once its mode is known: the tray application, and the developer
// modes that need the toolkit but no display. Each returns the process's exit status.

#include "app/CommandLine.h"

namespace tavrino::app {

int runNormally(int argc, char** argv);
int runSelfTestMode(int argc, char** argv);
int runToolMatrixMode(int argc, char** argv, const ToolMatrixMode& mode);
int runWelcomePreviewMode(int argc, char** argv, const WelcomePreviewMode& mode);
int runCropPreviewMode(int argc, char** argv, const CropPreviewMode& mode);

}  // namespace tavrino::app
