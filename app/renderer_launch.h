// Finding the separate renderer executable and running it as the screensaver.
#pragma once

#include <string>

// The full path of the first renderer candidate that exists, or "".
std::wstring FindRendererPath();

// The folder the renderer runs in: the installation folder recorded by the
// installer, else the renderer's own folder with its trailing backslash.
std::wstring RendererWorkingDirectory(const std::wstring& rendererPath);

// The whole run mode: starts the renderer and waits until it ends, or tells
// the user why it could not.
void RunRenderer();
