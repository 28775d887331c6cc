#pragma once

#include <string>

#include "settings/file_calls.h"
#include "settings/settings.h"

// systemDirectory + "/tarnwick.ini"; nothing is normalised.
std::string SettingsPath(const std::string& systemDirectory);

// Writes the 21-byte default file when no file (a directory does not count)
// is at path; an existing file is neither read nor written.
void CreateDefaultSettings(const std::string& path);

// Reads the first five lines of the file at path into settings. Never creates
// the file. On failure the fields before the failing line hold new values.
void LoadSettings(const std::string& path, Settings& settings);

// Replaces the whole file with the five values, each line ended by CR LF.
// A failure leaves the old file whole.
void SaveSettings(const std::string& path, const std::string& userName, const std::string& password,
                  const std::string& preservedFlag, const std::string& linkState,
                  const std::string& lastAddress);

// The same, with the file's bytes passing through calls (tests make them fail).
void CreateDefaultSettings(const std::string& path, FileCalls& calls);
void LoadSettings(const std::string& path, Settings& settings, FileCalls& calls);
void SaveSettings(const std::string& path, const std::string& userName, const std::string& password,
                  const std::string& preservedFlag, const std::string& linkState,
                  const std::string& lastAddress, FileCalls& calls);
