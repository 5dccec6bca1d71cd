#pragma once

// Small helpers shared by the core tests.

#include <filesystem>
#include <string>
#include <string_view>

#include "model/case_data.h"

namespace testing_support {

inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// A fresh empty folder under the system's temp folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::string& path);
// Bytes of heap memory the program has allocated and not yet freed.
std::size_t heapInUse();
void writeFile(const std::string& path, std::string_view content);

// A case with something in every list and every field, including group members, plan rows and
// texts with line breaks and bytes above 0x7F.
void fillRichCase(TCaseData& data);

} // namespace testing_support
