#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "program_run.h"

namespace dotwall::testing {

// Runs the built DotwallFrame in a folder.
inline ProgramRun runFrameTool(const std::filesystem::path& folder,
                               const std::vector<std::string>& arguments,
                               std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    return runProgram(DOTWALL_FRAME_PATH, arguments, folder, fileSizeLimit);
}

// The names of the files in a folder, to see what a run left behind.
inline std::set<std::string> fileNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

inline std::filesystem::path savePicture(const QImage& picture, const std::filesystem::path& path) {
    if (!picture.save(QString::fromStdString(path.string()))) {
        throw std::runtime_error("cannot save the test picture " + path.string());
    }
    return path;
}

}  // namespace dotwall::testing
