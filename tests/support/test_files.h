#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace dotwall::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("dotwall-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string readText(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path savePicture(const QImage& picture, const std::filesystem::path& path) {
    if (!picture.save(QString::fromStdString(path.string()))) {
        throw std::runtime_error("cannot save " + path.string());
    }
    return path;
}

inline QImage loadPicture(const std::filesystem::path& path) {
    return QImage(QString::fromStdString(path.string()));
}

// What this process writes to standard error while this lives, taken instead of shown.
class StandardErrorLines {
  public:
    StandardErrorLines() { dup2(fileno(file_), 2); }
    ~StandardErrorLines() {
        dup2(saved_, 2);
        close(saved_);
        std::fclose(file_);
    }
    StandardErrorLines(const StandardErrorLines&) = delete;
    StandardErrorLines& operator=(const StandardErrorLines&) = delete;

    // The lines so far that start with `prefix`.
    std::string lines(std::string_view prefix = "") const {
        std::fflush(stderr);
        std::rewind(file_);
        std::string taken;
        char line[1024];
        while (std::fgets(line, sizeof line, file_) != nullptr) {
            taken += std::string_view(line).starts_with(prefix) ? line : "";
        }
        return taken;
    }

  private:
    std::FILE* file_ = std::tmpfile();
    int saved_ = dup(2);
};

// Waits until `done` holds, however busy the machine; false when it did not within 30 s.
inline bool waitUntil(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool held = false;
    while (!(held = done()) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return held;
}

// How a program run ended and what it printed.
struct ProgramRun {
    int status = -1;  // the exit status; -1 when the program did not exit by itself
    std::string out;
    std::string err;
    double seconds = 0;  // from start to end, as runProgram saw it
};

// Where a program's standard output goes: a file finishProgram reads, a full disk, or a pipe
// no one reads, with SIGPIPE as a shell leaves it.
enum class Output { Taken, Full, ClosedPipe };

// Starts a program in a working folder with nothing on standard input; finishProgram waits
// for it. With fileSizeLimit the system refuses writes beyond that many bytes, as a full
// disk does.
inline pid_t startProgram(const std::filesystem::path& program,
                          const std::vector<std::string>& arguments,
                          const std::filesystem::path& folder,
                          std::optional<rlim_t> fileSizeLimit = std::nullopt,
                          Output output = Output::Taken) {
    const std::filesystem::path outPath = folder / ".run.out", errPath = folder / ".run.err";
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv(words.size() + 1, nullptr);
    std::ranges::transform(words, argv.begin(), [](std::string& word) { return word.data(); });

    const pid_t child = fork();
    if (child == 0) {  // only async-signal-safe calls between fork and exec
        const int in = open("/dev/null", O_RDONLY);
        int ends[2] = {-1, -1};
        if (output == Output::ClosedPipe && pipe(ends) == 0) {
            close(ends[0]);
        }
        const int out = output == Output::ClosedPipe
                            ? ends[1]
                            : open(output == Output::Full ? "/dev/full" : outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
        signal(SIGPIPE, SIG_DFL);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || chdir(folder.c_str()) != 0) {
            _exit(127);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (fileSizeLimit) {
            const rlimit limit{*fileSizeLimit, *fileSizeLimit};
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Waits for a program startProgram started, and takes what it printed.
inline ProgramRun finishProgram(pid_t child, const std::filesystem::path& folder) {
    ProgramRun run;
    int waitStatus = 0;
    if (child > 0 && waitpid(child, &waitStatus, 0) == child && WIFEXITED(waitStatus)) {
        run.status = WEXITSTATUS(waitStatus);
    }
    for (auto [name, text] : {std::pair{".run.out", &run.out}, {".run.err", &run.err}}) {
        *text = readText(folder / name);
        std::filesystem::remove(folder / name);
    }
    return run;
}

// Waits until a program startProgram started in `folder` has said `text` on standard error.
inline bool waitForSaying(const std::filesystem::path& folder, std::string_view text) {
    return waitUntil([&] { return readText(folder / ".run.err").find(text) != std::string::npos; });
}

// finishProgram for a program told to stop: one still running 30 s later is killed (-1).
inline ProgramRun finishStopped(pid_t child, const std::filesystem::path& folder) {
    siginfo_t end{};  // WNOWAIT: it is left for finishProgram
    const auto ended = [&] { return waitid(P_PID, child, &end, WEXITED | WNOHANG | WNOWAIT) == 0; };
    if (!waitUntil([&] { return ended() && end.si_pid == child; })) {
        kill(child, SIGKILL);
    }
    return finishProgram(child, folder);
}

// startProgram, then finishProgram.
template <typename... Options>
ProgramRun runProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& folder, Options... options) {
    const auto began = std::chrono::steady_clock::now();
    ProgramRun run = finishProgram(startProgram(program, arguments, folder, options...), folder);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return run;
}

}  // namespace dotwall::testing
