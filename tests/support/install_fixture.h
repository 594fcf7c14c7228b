// What the file phases start from: a distribution folder in D:\Setup, the
// record of the run as the earlier steps leave it, and DLLs already in the
// system directory.
#pragma once

#include <string>
#include <vector>

#include "app/install_context.h"
#include "distribution.h"

// The run's record after start-up and destination choice, on the machine
// as set up: installer folder, Windows and system folders, platform.
InstallContext PreparedContext(const char* destDir = "C:\\Program Files\\Quorlet V4.06");

// Writes the distribution into the installer's folder (D:\Setup), with
// small files unless told otherwise.
distribution::Options SmallDistribution();
void PlaceDistribution(distribution::Options options = SmallDistribution());

// Puts a DLL carrying `version` (or none) into the system directory.
void PlaceSystemDll(const std::string& name, const pe::Version& version);
void PlaceUnversionedSystemDll(const std::string& name);

// The names in a simulated folder that match "prefix*suffix", sorted
// (letter case ignored).
std::vector<std::string> FilesLike(const std::string& folder, const std::string& prefix, const std::string& suffix);

// A message box line of the transcript as the installer shows it: the
// application title as caption, one OK button, no owner.
std::string StopBox(const std::string& text);
