#pragma once

#include <optional>
#include <string>
#include <string_view>

// Replaces the file at `path` with `bytes` so that readers see either the old or the new content:
// the bytes go to a temporary file in the same folder, which is flushed to disk and then renamed
// over the target. Returns the reason on failure; the old file is then untouched and the temporary
// file removed.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);
