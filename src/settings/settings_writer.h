#pragma once

#include <array>
#include <string>
#include <string_view>

#include "settings/file_calls.h"

// The write procedure: replaces the whole file at path with the values as
// lines, each ended by CR LF. The new content is written to a file beside it,
// flushed to disk and renamed over the old one, so a failure (a read-only
// file, a directory in the way, a lock held elsewhere, a full disk) raises
// EInOutError and leaves the old file whole. A new file gets mode 0600; an
// existing one keeps its mode, and its owner where the system allows.
void WriteSettingsFile(const std::string& path, const std::array<std::string_view, 5>& values, FileCalls& calls);
