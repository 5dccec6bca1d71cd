#include "model/questions.h"

#include <string>

bool confirmDelete(Questions& ask, const char* format, std::string_view name)
{
    return ask.confirm({format, std::string(name)});
}
