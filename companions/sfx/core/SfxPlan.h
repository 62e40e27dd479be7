#pragma once
// How the header's settings play out at run time: which questions are asked,
// where the files go, what runs afterwards.

#include "SfxSettings.h"
#include "SfxUi.h"

#include <string>

namespace sfxcore {

struct SfxPlan {
    std::string caption;
    bool autoRun = false; // no question before extraction
    bool showMessage = false;
    MessageButtons messageButtons = MessageButtons::Ok;
    std::string messageText; // without its leading button code
    std::string folder;      // "><" already replaced
    bool folderEditable = false;
    std::string commandLine; // as stored; "><" is replaced once the folder is final
    bool askCommandLine = false;
    bool successMessage = true;
};

inline const char* const kDefaultCaption = "Archive auto-extractible";

// exeName is the file name of the running self-extractor (automatic
// extraction needs it to start with "!"); tempFolder the user's temporary
// folder; a relative default folder is taken inside exeFolder (the folder the
// user downloaded the program to, not whatever the current folder happens to be).
SfxPlan makePlan(const SfxSettings& settings, const std::string& exeName,
                 const std::string& tempFolder, const std::string& exeFolder = {});

// True for a path from a root: a leading separator (network paths too) or a drive letter.
bool isAbsolutePath(const std::string& path);

// Replaces every "><" by folder (with a trailing separator), then folds the
// doubled separator that "><\sub" would leave.
std::string substituteFolder(const std::string& text, const std::string& folder);

} // namespace sfxcore
