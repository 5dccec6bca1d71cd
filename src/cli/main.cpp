#include <iostream>

int main()
{
    std::cerr << "corvantix-cli: not built yet\n";
    return 1;
}
