#include "model/core_text.h"

std::string formatWithName(std::string_view format, std::string_view name)
{
    const auto at = format.find("%s");
    std::string text(format.substr(0, at));
    if (at == std::string_view::npos)
        return text;
    text.append(name);
    text.append(format.substr(at + 2));
    return text;
}
