#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Replaces the file at `path` with `bytes` so that readers see either the old or the new content:
// the bytes go to a temporary file in the same folder, which is flushed to disk and then renamed
// over the target. Returns the reason on failure; the old file is then untouched and the temporary
// file removed.
//
// What is at `path` decides what is written:
// - a symbolic link: the file it points to, which is created when it does not exist yet; the link
//   stays;
// - a regular file whose permissions deny writing (to everyone, or to this process): nothing; the
//   reason is "'PATH' is read-only." and `readOnly`, when given, is set;
// - a pipe, terminal or device: the bytes are written into it as they are; it is never replaced.
//
// A save that was killed halfway leaves its temporary file ("<name>.tmp-XXXXXX") behind. After a
// successful save, such files of the same name that are older than kStaleTemporarySeconds are
// removed; younger ones may belong to a save still running in another process and are left alone.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes,
                                               bool* readOnly = nullptr);

// Takes the next piece of a file being written; false once writing has failed, after which
// further pieces are dropped.
using ByteSink = std::function<bool(std::string_view piece)>;
// Writes everything it has into the sink; returns its own reason to give up, if any.
using ByteProducer = std::function<std::optional<std::string>(const ByteSink& sink)>;

// The same for content too large to hold in memory: `produce` hands it over piece by piece. A
// failed write, or a reason returned by `produce`, abandons the save like a failed write above.
// Each piece is written on a second thread while `produce` makes the next, so the sink refuses the
// piece after the one whose write failed.
std::optional<std::string> writeFileAtomically(const std::string& path, const ByteProducer& produce,
                                               bool* readOnly = nullptr);

inline constexpr int kStaleTemporarySeconds = 60;

// Removes the stale temporary files of `target` (a resolved path) as described above. Returns how
// many it removed.
int removeStaleTemporaries(const std::string& target, int olderThanSeconds = kStaleTemporarySeconds);
