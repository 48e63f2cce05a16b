#include "editor/core/UserMessages.h"

#include <cstdio>

bool StderrMessages::Present(Kind, const QString& text)
{
    std::fprintf(stderr, "Kelvana: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    return false;
}
