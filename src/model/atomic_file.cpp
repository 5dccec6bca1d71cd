#include "model/atomic_file.h"

#include <cerrno>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string failure(const std::string& path, const char* what, int error)
{
    return "cannot save '" + path + "': " + what + ": " + std::strerror(error);
}

bool writeAll(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Sends a piece just written on its way to the disk without waiting, so that a large file produced
// piece by piece reaches the disk while the rest is produced, and the flush at the end has only the
// last pieces to wait for. Only a hint: where the system cannot, the flush does it all.
void startWriteback([[maybe_unused]] int fd, [[maybe_unused]] off_t offset, [[maybe_unused]] std::size_t size)
{
#if defined(__linux__)
    ::sync_file_range(fd, offset, static_cast<off_t>(size), SYNC_FILE_RANGE_WRITE);
#endif
}

// Writes the pieces of a file on a thread of its own, so that the next piece is produced while the
// last one is written. It holds one piece: handing over the next waits until the last is written.
class PieceWriter {
public:
    // Without `background` (content that is there in one piece) every piece is written as it comes.
    PieceWriter(int fd, bool background) : fd_(fd)
    {
        if (!background)
            return;
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No thread to be had: every piece is written as it comes.
        }
    }
    ~PieceWriter() { finish(); }
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;

    // False once a write has failed; the piece is then dropped.
    bool put(std::string_view piece)
    {
        if (!thread_.joinable()) {
            write(piece);
            return error_ == 0;
        }
        std::unique_lock lock(mutex_);
        written_.wait(lock, [this] { return !holding_; });
        if (error_ != 0)
            return false;
        piece_.assign(piece);
        holding_ = true;
        waiting_.notify_one();
        return true;
    }

    // Waits until the last piece is written; returns the error of the first failed write, or 0.
    int finish()
    {
        if (thread_.joinable()) {
            {
                std::unique_lock lock(mutex_);
                written_.wait(lock, [this] { return !holding_; });
                finished_ = true;
            }
            waiting_.notify_one();
            thread_.join();
        }
        return error_;
    }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            waiting_.wait(lock, [this] { return holding_ || finished_; });
            if (!holding_)
                return;
            lock.unlock();
            write(piece_);
            lock.lock();
            holding_ = false;
            written_.notify_one();
        }
    }

    void write(std::string_view piece)
    {
        if (error_ != 0)
            return;
        if (!writeAll(fd_, piece)) {
            error_ = errno;
            return;
        }
        startWriteback(fd_, offset_, piece.size());
        offset_ += static_cast<off_t>(piece.size());
    }

    const int fd_;
    off_t offset_ = 0;
    // Written by the writing thread only while it holds a piece, read by the other only while none
    // is held (or after the join).
    int error_ = 0;
    std::string piece_;
    bool holding_ = false;
    bool finished_ = false;
    std::mutex mutex_;
    std::condition_variable waiting_;
    std::condition_variable written_;
    std::thread thread_;
};

// mkstemp replaces the six X with letters and digits.
bool isTemporaryOf(std::string_view name, std::string_view base)
{
    constexpr std::string_view marker = ".tmp-";
    constexpr std::size_t randomPart = 6;
    if (name.size() != base.size() + marker.size() + randomPart || name.substr(0, base.size()) != base
        || name.substr(base.size(), marker.size()) != marker)
        return false;
    for (char c : name.substr(base.size() + marker.size()))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// The owner's intent counts, not only what the system would allow: a file whose permission bits
// deny writing to everyone stays as it is even for a superuser. Otherwise the system decides,
// which also keeps another user's file from being replaced through a writable folder.
bool deniesWriting(const std::string& file, const struct stat& info)
{
    if ((info.st_mode & 0222) == 0)
        return true;
    return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EROFS);
}

// Where a chain of symbolic links ends, also when the file at its end does not exist yet.
std::string endOfLinkChain(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t length = ::readlink(current.c_str(), link.data(), PATH_MAX);
        if (length <= 0)
            break;
        const std::string next(link.data(), static_cast<std::size_t>(length));
        current = next.front() == '/' ? next : folderOf(current) + "/" + next;
    }
    return current;
}

// A reader that goes away in the middle of a write must give an error, not end the program.
class PipeSignalBlocked {
public:
    PipeSignalBlocked()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalBlocked()
    {
        if (!wasPending_) {
            const timespec now{};
            while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalBlocked(const PipeSignalBlocked&) = delete;
    PipeSignalBlocked& operator=(const PipeSignalBlocked&) = delete;

private:
    sigset_t pipe_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

// Writes into an existing file that is not a regular one (a pipe, a terminal, a device).
std::optional<std::string> writeInto(const std::string& path, const ByteProducer& produce)
{
    const PipeSignalBlocked guard;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failure(path, "cannot open", errno);
    int writeError = 0;
    const ByteSink sink = [&](std::string_view piece) {
        if (writeError == 0 && !writeAll(fd, piece))
            writeError = errno;
        return writeError == 0;
    };
    std::optional<std::string> gaveUp;
    try {
        gaveUp = produce(sink);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (writeError != 0) {
        ::close(fd);
        return failure(path, "write failed", writeError);
    }
    if (gaveUp) {
        ::close(fd);
        return gaveUp;
    }
    if (::close(fd) != 0)
        return failure(path, "cannot close", errno);
    return std::nullopt;
}

} // namespace

int removeStaleTemporaries(const std::string& target, int olderThanSeconds)
{
    const std::string folder = folderOf(target);
    const auto slash = target.find_last_of('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, base))
            continue;
        std::string file = folder;
        if (folder != "/")
            file += '/';
        file += entry->d_name;
        struct stat info {};
        // Only plain files: never follow a link or remove a folder someone named like this.
        if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (now - info.st_mtime <= olderThanSeconds)
            continue;
        if (::unlink(file.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

namespace {
std::optional<std::string> writeAtomically(const std::string& path, const ByteProducer& produce, bool* readOnly,
                                           bool background);
} // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes, bool* readOnly)
{
    return writeAtomically(
        path,
        [bytes](const ByteSink& sink) -> std::optional<std::string> {
            sink(bytes);
            return std::nullopt;
        },
        readOnly, false);
}

std::optional<std::string> writeFileAtomically(const std::string& path, const ByteProducer& produce, bool* readOnly)
{
    return writeAtomically(path, produce, readOnly, true);
}

namespace {

// `background`: pieces are written on a thread of their own while the next is produced.
std::optional<std::string> writeAtomically(const std::string& path, const ByteProducer& produce, bool* readOnly,
                                           bool background)
{
    if (readOnly)
        *readOnly = false;
    if (path.empty())
        return std::string("cannot save: no file name given");

    // Saving through a symbolic link replaces the file it points to, not the link; a link whose
    // file does not exist yet creates that file.
    std::string target = path;
    // The permissions of an existing file are kept; a new file gets the usual ones (umask applies).
    mode_t mode = 0666;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    const int lookupError = exists ? 0 : errno;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            return "cannot save '" + path + "': it is a folder";
        // A pipe, a terminal or a device cannot be replaced by a file; whoever named it wants the
        // bytes to go through it.
        if (!S_ISREG(existing.st_mode))
            return writeInto(path, produce);
        std::vector<char> resolved(PATH_MAX + 1);
        if (::realpath(path.c_str(), resolved.data()))
            target = resolved.data();
        if (deniesWriting(target, existing)) {
            if (readOnly)
                *readOnly = true;
            return "'" + path + "' is read-only.";
        }
        mode = existing.st_mode & 07777;
    } else if (lookupError == ENOENT) {
        target = endOfLinkChain(path);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    } else {
        // A loop of links or a folder that cannot be searched: nothing there may be replaced.
        return failure(path, "cannot reach the file", lookupError);
    }

    std::string temp = target + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return failure(path, "cannot create a temporary file in its folder", errno);

    auto abandon = [&](const char* what) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return failure(path, what, error);
    };

    PieceWriter writer(fd, background);
    const ByteSink sink = [&](std::string_view piece) { return writer.put(piece); };
    const auto discard = [&] {
        writer.finish();
        ::close(fd);
        ::unlink(temp.c_str());
    };
    std::optional<std::string> gaveUp;
    try {
        gaveUp = produce(sink);
    } catch (...) {
        discard();
        throw;
    }
    if (const int writeError = writer.finish()) {
        errno = writeError;
        return abandon("write failed");
    }
    if (gaveUp) {
        discard();
        return gaveUp;
    }
    if (::fchmod(fd, mode) != 0 && exists)
        return abandon("cannot set permissions");
    if (::fsync(fd) != 0)
        return abandon("cannot flush to disk");
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return failure(path, "cannot close", error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return failure(path, "cannot replace the file", error);
    }
    // Make the rename itself durable.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    removeStaleTemporaries(target);
    return std::nullopt;
}

} // namespace
