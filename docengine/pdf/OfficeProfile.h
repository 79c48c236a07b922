#pragma once
// What we put into LibreOffice's profile before it starts. LibreOffice records the version a
// profile was last used with only when its window comes up; a profile used only headless never
// gets it, and LibreOffice then takes every start for the first after an upgrade and runs its
// graphics self-test (a second or more of drawing, the largest part of a cold start here). We
// record the version ourselves.

#include <filesystem>
#include <string>

namespace tavrino::docs {

// The version ("7.4") LibreOffice's configuration names for the installation whose program
// folder is `program`; empty when it cannot be read.
std::string officeVersion(const std::filesystem::path& program);

// officeVersion, remembered in `cache` (a file of ours) with the path, size and modification
// time of the configuration it came from: reading that 2 MB file costs tens of milliseconds on
// every cold start, while a changed installation (an upgrade) changes its size or time and is
// read afresh. An empty `cache` reads the configuration every time.
std::string officeVersionCached(const std::filesystem::path& program,
                                const std::filesystem::path& cache);

// Records in the profile at `profile` (the UserInstallation folder) that LibreOffice `version`
// has started with it, creating the settings file when there is none. A settings file we do
// not understand is left as it is: LibreOffice then merely runs its self-test.
void markProfileCurrent(const std::filesystem::path& profile, const std::string& version);

}  // namespace tavrino::docs
