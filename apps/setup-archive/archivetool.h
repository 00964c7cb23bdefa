#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The setup-archive command line: lists, extracts, builds and splits setup archives and makes
// self-extracting files. Returns the process exit code (0 success, 1 failure, 2 usage).
int RunArchiveTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
