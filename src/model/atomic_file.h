#pragma once

#include <optional>
#include <string>
#include <string_view>

// Replaces the file at `path` with `bytes` so that readers see either the old or the new content:
// the bytes go to a temporary file in the same folder, which is flushed to disk and then renamed
// over the target. Returns the reason on failure; the old file is then untouched and the temporary
// file removed.
//
// A save that was killed halfway leaves its temporary file ("<name>.tmp-XXXXXX") behind. After a
// successful save, such files of the same name that are older than kStaleTemporarySeconds are
// removed; younger ones may belong to a save still running in another process and are left alone.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

inline constexpr int kStaleTemporarySeconds = 60;

// Removes the stale temporary files of `target` (a resolved path) as described above. Returns how
// many it removed.
int removeStaleTemporaries(const std::string& target, int olderThanSeconds = kStaleTemporarySeconds);
