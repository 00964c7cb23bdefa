#include "apps/setup-archive/archivetool.h"
#include "setup/archive/embeddedversion.h"

#include <iostream>

ORVO_EMBED_VERSION(ORVO_VERSION_TEXT);

int main(int argc, char** argv)
{
    return RunArchiveTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
