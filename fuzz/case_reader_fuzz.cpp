// Feeds arbitrary bytes to the case reader. Whatever the input, reading must not crash, leak or
// invoke undefined behaviour; and a case that reads must write back in canonical form, which then
// reads and writes to the very same bytes.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/case_data.h"
#include "model/case_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCaseData first;
    if (decodeCase(std::string_view(reinterpret_cast<const char*>(data), size), first))
        return 0;
    const std::string canonical = encodeCase(first);

    TCaseData second;
    if (decodeCase(canonical, second))
        std::abort(); // the writer produced something the reader refuses
    if (encodeCase(second) != canonical)
        std::abort(); // canonical form is not stable

    TCaseData copy;
    copy.Assign(second);
    if (encodeCase(copy) != canonical)
        std::abort(); // deep copy lost or changed something
    return 0;
}
