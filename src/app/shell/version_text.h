#pragma once
// The texts that identify this build: version, build time and source revision.
#include <string>

inline constexpr const char* kProductName = "Orvane";
inline constexpr const char* kVersionCaption = "Version details";

// "1.04": the product's version, from the one VERSION file of the source tree.
std::string productVersion();
// "Mmm dd yyyy hh:mm:ss": when the build ran, in the compiler's date form.
std::string buildTimestamp();
// The 40-hex-digit source revision of the build.
std::string sourceRevision();
// The Version box text.
std::string versionText();
