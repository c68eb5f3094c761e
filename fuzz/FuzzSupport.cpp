#include <cstdio>
#include <cstdlib>

#include "fuzz/TNullCanvas.h"

namespace veltra::fuzz {

void Broken(const char* what)
{
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace veltra::fuzz
