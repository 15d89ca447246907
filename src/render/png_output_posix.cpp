// POSIX: the temporary file is created exclusively (never through a link)
// under a random name of fixed length in the target's folder, and renamed
// over the target only when complete and on disk. While it exists, a signal
// that would end the process removes it first.
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <iterator>
#include <optional>
#include <utility>

#include "render/png_output.h"

namespace tintwalk {

namespace {

std::string Failure(const std::string& path, int code) {
    return "cannot write '" + path + "': " + std::strerror(code);
}

// --- Removal of the temporary file by a signal ------------------------------

// The signals whose default action ends the process and that it can catch,
// including an abort. Faults (SIGSEGV and the like) are left to the default
// action and to the sanitizers.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGPIPE,   SIGALRM, SIGUSR1,
                                  SIGUSR2, SIGXCPU, SIGXFSZ, SIGABRT, SIGVTALRM, SIGPROF};
constexpr size_t kSignalCount = std::size(kEndingSignals);

char temporaryName[PATH_MAX];
volatile sig_atomic_t temporaryExists = 0;

extern "C" void RemoveTemporaryAndEnd(int signal) {
    // Only async-signal-safe calls: unlink, signal, raise. The signal is
    // blocked while this runs; raised again, it takes its default action as
    // soon as the handler returns.
    if (temporaryExists)
        unlink(temporaryName);
    temporaryExists = 0;
    ::signal(signal, SIG_DFL);
    raise(signal);
}

// Catches the ending signals for as long as it lives. A signal the program
// ignores stays ignored, and one it handles itself stays with its handler:
// that program goes on after the signal, and so does the write.
class TemporaryGuard {
  public:
    TemporaryGuard() {
        sigemptyset(&signals_);
        struct sigaction action = {};
        action.sa_handler = RemoveTemporaryAndEnd;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < kSignalCount; ++i) {
            sigaddset(&action.sa_mask, kEndingSignals[i]);
            sigaddset(&signals_, kEndingSignals[i]);
        }
        for (size_t i = 0; i < kSignalCount; ++i) {
            installed_[i] = sigaction(kEndingSignals[i], nullptr, &previous_[i]) == 0 &&
                            previous_[i].sa_handler == SIG_DFL &&
                            (previous_[i].sa_flags & SA_SIGINFO) == 0 &&
                            sigaction(kEndingSignals[i], &action, nullptr) == 0;
        }
    }
    ~TemporaryGuard() {
        for (size_t i = 0; i < kSignalCount; ++i) {
            if (installed_[i])
                sigaction(kEndingSignals[i], &previous_[i], nullptr);
        }
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

    // Creates the temporary file in `folder` ("" for the current one). The
    // signals wait while the name is made known to the handler, so that no
    // file can exist that the handler would not remove.
    int Create(const std::string& folder, mode_t mode, std::string& name) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name = folder + ".tintwalk-" + RandomSuffix() + ".tmp";
            if (name.size() >= sizeof(temporaryName)) {
                errno = ENAMETOOLONG;
                return -1;
            }
            Block();
            std::memcpy(temporaryName, name.c_str(), name.size() + 1);
            // O_EXCL with O_CREAT never follows a link at the name.
            const int fd =
                open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            const int code = errno;
            temporaryExists = fd >= 0;
            Unblock();
            if (fd >= 0 || code != EEXIST) {
                errno = code;
                return fd;
            }
        }
        errno = EEXIST;
        return -1;
    }

    // Renames the temporary file over `target`, or removes it when `keep`
    // is false; returns the rename's errno, 0 on success.
    int Finish(const std::string& target, bool keep) {
        Block();
        int code = 0;
        if (keep && std::rename(temporaryName, target.c_str()) != 0)
            code = errno;
        if (!keep || code != 0)
            unlink(temporaryName);
        temporaryExists = 0;
        Unblock();
        return code;
    }

  private:
    void Block() { sigprocmask(SIG_BLOCK, &signals_, &saved_); }
    void Unblock() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }

    // Sixteen hexadecimal digits from the kernel's random source; should it
    // fail, the clock and the process id (O_EXCL keeps even a guessed name
    // safe, and a taken one is skipped).
    static std::string RandomSuffix() {
        uint64_t bits = 0;
        if (getrandom(&bits, sizeof(bits), GRND_NONBLOCK) != sizeof(bits)) {
            timespec now = {};
            clock_gettime(CLOCK_REALTIME, &now);
            bits = (static_cast<uint64_t>(now.tv_nsec) << 20) ^ static_cast<uint64_t>(now.tv_sec) ^
                   (static_cast<uint64_t>(getpid()) << 40);
        }
        char text[17];
        for (int i = 15; i >= 0; --i, bits >>= 4)
            text[i] = "0123456789abcdef"[bits & 15];
        text[16] = '\0';
        return text;
    }

    sigset_t signals_;
    sigset_t saved_;
    struct sigaction previous_[kSignalCount];
    bool installed_[kSignalCount] = {};
};

// --- Where the picture goes ---------------------------------------------------

// The file a chain of symbolic links at `path` ends in, which need not exist
// yet. Relative links count from the folder of the link.
bool FollowLinks(const std::string& path, std::string& target, int& code) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return true;
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof(link) - 1);
        if (length < 0) {
            code = errno;
            return false;
        }
        link[length] = '\0';
        const size_t slash = target.rfind('/');
        if (link[0] == '/' || slash == std::string::npos)
            target = link;
        else
            target = target.substr(0, slash + 1) + link;
    }
    code = ELOOP;
    return false;
}

// The folder part of `path` with its final slash, or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Runs the encoder on `file`, flushes it and, for a regular file, waits until
// it is on disk. Closes the file in every case.
bool EncodeAndClose(std::FILE* file, bool regular, const std::string& path, const Encoder& encode,
                    std::string& error) {
    errno = 0;
    bool written = encode(file, error);
    // The system's reason when the stream failed, the encoder's otherwise.
    int code = !written && std::ferror(file) ? errno : 0;
    if (written && std::fflush(file) != 0) {
        written = false;
        code = errno;
    }
    if (written && regular && fsync(fileno(file)) != 0) {
        written = false;
        code = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        code = errno;
    }
    if (!written)
        error = code != 0 ? Failure(path, code) : "cannot write '" + path + "': " + error;
    return written;
}

bool WriteStandardOutput(const Encoder& encode, std::string& error) {
    std::fflush(stdout);
    errno = 0;
    const bool written = encode(stdout, error) && std::fflush(stdout) == 0;
    if (!written) {
        const int code = std::ferror(stdout) ? errno : 0;
        error = "cannot write to standard output: " +
                (code != 0 ? std::string(std::strerror(code)) : error);
    }
    return written;
}

// Makes the new file look like the one it replaces: its permissions, and
// for a process that may change it, its owner.
void TakeOverAttributes(int fd, const std::string& target) {
    struct stat status;
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    if (geteuid() == 0 && fchown(fd, status.st_uid, status.st_gid) != 0) {
        // The new file keeps its own owner; the permissions still follow.
    }
    if (fchmod(fd, status.st_mode & 07777) != 0) {
        // The new file keeps the permissions the umask gave it.
    }
}

}  // namespace

// Standard output (no file), a device, pipe or socket written as it is (it
// cannot be replaced, and what reads it wants the bytes), or a temporary
// file in the target's folder (guard set).
struct OutputFile::Place {
    std::string path;
    std::string target;
    std::FILE* file = nullptr;
    std::optional<TemporaryGuard> guard;
};

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() {
    if (place_ == nullptr)
        return;
    if (place_->file != nullptr && place_->file != stdout)
        std::fclose(place_->file);
    if (place_->guard)
        place_->guard->Finish(place_->target, false);
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    place_ = std::make_unique<Place>();
    Place& place = *place_;
    place.path = path;
    if (path == "-") {
        place.file = stdout;
        return true;
    }
    struct stat status;
    if (stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            error = Failure(path, EISDIR);
            return false;
        }
        if (!S_ISREG(status.st_mode)) {
            const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            place.file = fd < 0 ? nullptr : fdopen(fd, "wb");
            if (place.file == nullptr) {
                error = Failure(path, errno);
                if (fd >= 0)
                    close(fd);
                return false;
            }
            return true;
        }
    }
    int code = 0;
    if (!FollowLinks(path, place.target, code)) {
        error = Failure(path, code);
        return false;
    }
    std::string temporary;
    place.guard.emplace();
    const int fd = place.guard->Create(FolderOf(place.target), 0666, temporary);
    if (fd < 0) {
        error = Failure(path, errno);
        place.guard.reset();
        return false;
    }
    TakeOverAttributes(fd, place.target);
    place.file = fdopen(fd, "wb");
    if (place.file == nullptr) {
        error = Failure(path, errno);
        close(fd);
        return false;
    }
    return true;
}

bool OutputFile::Write(const Encoder& encode, std::string& error) {
    Place& place = *place_;
    std::FILE* file = std::exchange(place.file, nullptr);
    if (file == stdout)
        return WriteStandardOutput(encode, error);
    const bool regular = place.guard.has_value();
    const bool written = EncodeAndClose(file, regular, place.path, encode, error);
    if (!regular)
        return written;
    const int code = place.guard->Finish(place.target, written);
    place.guard.reset();
    if (!written)
        return false;
    if (code != 0) {
        error = Failure(place.path, code);
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const std::string folder = FolderOf(place.target);
    const int folderFd =
        open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

}  // namespace tintwalk
