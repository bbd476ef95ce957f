#include "app/shell/version_text.h"

#include "build_info.h"

std::string productVersion() { return ORVANE_VERSION; }

std::string buildTimestamp() { return ORVANE_BUILD_TIMESTAMP; }

std::string sourceRevision() { return ORVANE_SOURCE_REVISION; }

std::string versionText() {
    return "Orvane version: " + productVersion() + " (x64)\n\nBuild timestamp: " + buildTimestamp() +
           "\nGit commit: " + sourceRevision();
}
