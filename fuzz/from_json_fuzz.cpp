// Feeds arbitrary text to `corvantix-cli from-json`, run in-process. Whatever the input, the command
// must either refuse it with a message that names the JSON file (and write nothing), or write a case
// file that reads back and is already in canonical form.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "cli/cli_support.h"
#include "cli/from_json_command.h"
#include "model/case_data.h"
#include "model/case_file.h"

namespace {

struct Folder {
    Folder()
    {
        // The command writes its case file the safe way, flushed to disk; in memory that is cheap.
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/from_json_fuzz-XXXXXX" : "/tmp/from_json_fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        json = path + "/in.json";
        cvx = path + "/out.cvx";
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string path, json, cvx;
};

const Folder& folder()
{
    static const Folder instance;
    return instance;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Folder& f = folder();
    std::ofstream(f.json, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    ::unlink(f.cvx.c_str());

    std::ostringstream out, err;
    const int code = runFromJson({f.json, f.cvx}, out, err);
    const bool written = ::access(f.cvx.c_str(), F_OK) == 0;
    if (code == kExitFailure) {
        // "corvantix-cli: IN.json: PATH: reason", and no case file.
        const std::string prefix = std::string(kCliName) + ": " + f.json + ": ";
        if (err.str().compare(0, prefix.size(), prefix) != 0 || err.str().size() <= prefix.size() + 1)
            std::abort();
        if (written)
            std::abort();
        return 0;
    }
    if (code != kExitOk || !err.str().empty() || !written)
        std::abort();

    const std::string bytes = readAll(f.cvx);
    TCaseData loaded;
    if (decodeCase(bytes, loaded))
        std::abort(); // the command wrote a file the reader refuses
    if (encodeCase(loaded) != bytes)
        std::abort(); // what was written is not the canonical form of what reads back
    return 0;
}
